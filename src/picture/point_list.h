#pragma once
#include <functional>

#include "picture/shape_types.h"

namespace olve {

// A list of points. Copies are deep.
class TPointList {
public:
    virtual ~TPointList() = default;

    virtual void Clear();
    virtual void AddPoint(TPoint point);
    void CopyPoints(const TPointList& other);
    // Replaces every point by its image under a mapping (for drawing in other coordinates).
    void MapPoints(const std::function<TPoint(TPoint)>& map);

    const TAryPoint& Points() const { return FPoints; }

protected:
    TAryPoint FPoints;
};

}  // namespace olve
