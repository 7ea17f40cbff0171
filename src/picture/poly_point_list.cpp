#include "picture/poly_point_list.h"

#include <algorithm>

namespace olve {

void TPolyPointList::Clear()
{
    FCounts.clear();
    FCurrentIndex = -1;
    TPointList::Clear();
}

void TPolyPointList::AddPoint(TPoint point)
{
    if (FCounts.empty())
        FCounts.push_back(1);
    else
        ++FCounts.back();
    TPointList::AddPoint(point);
}

void TPolyPointList::StartPolyline(TPoint point)
{
    while (Count() - 1 > FCurrentIndex)
        RemoveLast();
    ++FCurrentIndex;
    FCounts.push_back(1);
    TPointList::AddPoint(point);
}

void TPolyPointList::RemoveLast()
{
    if (FCounts.empty())
        return;
    const auto drop = static_cast<std::size_t>(std::clamp<std::int32_t>(FCounts.back(), 0, static_cast<std::int32_t>(FPoints.size())));
    FPoints.resize(FPoints.size() - drop);
    FCounts.pop_back();
    // The current polyline may have been the one removed.
    FCurrentIndex = std::min(FCurrentIndex, Count() - 1);
}

void TPolyPointList::Undo()
{
    if (FCurrentIndex >= 0)
        --FCurrentIndex;
}

void TPolyPointList::Redo()
{
    if (FCurrentIndex < Count() - 1)
        ++FCurrentIndex;
}

void TPolyPointList::CopyFrom(const TPolyPointList& other)
{
    FCounts = other.FCounts;
    FCurrentIndex = other.FCurrentIndex;
    CopyPoints(other);
}

}  // namespace olve
