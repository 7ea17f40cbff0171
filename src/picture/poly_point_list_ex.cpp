#include "picture/poly_point_list_ex.h"

namespace olve {

void TPolyPointListEx::Clear()
{
    FColors.clear();
    FWidths.clear();
    TPolyPointList::Clear();
}

void TPolyPointListEx::StartPolyline(TPoint point, TColor color, std::int32_t width)
{
    const auto next = static_cast<std::size_t>(FCurrentIndex + 1);
    FColors.resize(next + 1);
    FWidths.resize(next + 1);
    FColors[next] = color;
    FWidths[next] = width;
    TPolyPointList::StartPolyline(point);
}

void TPolyPointListEx::CopyFrom(const TPolyPointListEx& other)
{
    FColors = other.FColors;
    FWidths = other.FWidths;
    FCurrentIndex = other.FCurrentIndex;
    TPolyPointList::CopyFrom(other);
}

}  // namespace olve
