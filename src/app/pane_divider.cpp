#include "app/pane_divider.h"

#include <QMouseEvent>
#include <QPainter>

namespace olve {

TPaneDivider::TPaneDivider(QWidget* parent) : QWidget(parent)
{
    setObjectName("pnDivider");
    setCursor(Qt::SplitVCursor);
}

void TPaneDivider::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Mid));
    const int middle = height() / 2;
    for (int x = width() / 2 - 12; x <= width() / 2 + 12; x += 4)
        p.drawPoint(x, middle);
}

void TPaneDivider::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && OnDrag)
        OnDrag(mapToParent(event->position().toPoint()).y());
}

}  // namespace olve
