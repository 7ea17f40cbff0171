// The one part of the shape lists that needs Qt: drawing onto a canvas.
#include <QPainter>
#include <QPolygon>

#include "picture/poly_point_list_ex.h"

namespace olve {

void TPolyPointListEx::Draw(QPainter& canvas) const
{
    std::size_t first = 0;
    for (std::int32_t i = 0; i <= FCurrentIndex; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (index >= FCounts.size() || index >= FColors.size() || index >= FWidths.size())
            return;
        const std::int32_t count = FCounts[index];
        if (count < 0 || first + static_cast<std::size_t>(count) > FPoints.size())
            return;
        const TColor color = FColors[index];
        QPen pen(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
        pen.setWidth(FWidths[index]);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        canvas.setPen(pen);
        // A polyline of one point leaves no mark.
        if (count >= 2) {
            QPolygon polyline(count);
            for (std::int32_t k = 0; k < count; ++k)
                polyline[k] = QPoint(FPoints[first + k].x, FPoints[first + k].y);
            canvas.drawPolyline(polyline);
        }
        first += static_cast<std::size_t>(count);
    }
}

}  // namespace olve
