#pragma once
#include "picture/poly_point_list.h"

class QPainter;

namespace olve {

// Polylines with a pen colour and width each, that draw themselves.
class TPolyPointListEx : public TPolyPointList {
public:
    void Clear() override;
    // Undone polylines go, with their pens; the new one takes color and width.
    void StartPolyline(TPoint point, TColor color, std::int32_t width);
    void CopyFrom(const TPolyPointListEx& other);
    // Draws the polylines up to CurrentIndex as open polylines with their own pens. A list
    // whose arrays disagree stops drawing at the first polyline it cannot draw.
    void Draw(QPainter& canvas) const;

    const TAryColor& Colors() const { return FColors; }
    const TAryInteger& Widths() const { return FWidths; }

private:
    TAryColor FColors;
    TAryInteger FWidths;
};

}  // namespace olve
