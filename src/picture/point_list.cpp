#include "picture/point_list.h"

namespace olve {

void TPointList::Clear()
{
    FPoints.clear();
}

void TPointList::AddPoint(TPoint point)
{
    FPoints.push_back(point);
}

void TPointList::CopyPoints(const TPointList& other)
{
    FPoints = other.FPoints;
}

void TPointList::MapPoints(const std::function<TPoint(TPoint)>& map)
{
    for (TPoint& point : FPoints)
        point = map(point);
}

}  // namespace olve
