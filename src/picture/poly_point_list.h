#pragma once
#include "picture/point_list.h"

namespace olve {

// Points split into polylines, with undo and redo: polylines after CurrentIndex count as
// undone and stay in the list, to be redone, until a new polyline is started.
class TPolyPointList : public TPointList {
public:
    void Clear() override;
    // Appends to the last polyline; on an empty list it makes a first polyline that counts
    // as undone until Redo.
    void AddPoint(TPoint point) override;
    // Drops the undone polylines, then begins a new current polyline at point.
    void StartPolyline(TPoint point);
    void RemoveLast();
    void Undo();
    void Redo();
    void CopyFrom(const TPolyPointList& other);

    const TAryInteger& Counts() const { return FCounts; }
    std::int32_t CurrentIndex() const { return FCurrentIndex; }
    // Number of polylines, undone ones included.
    std::int32_t Count() const { return static_cast<std::int32_t>(FCounts.size()); }

protected:
    TAryInteger FCounts;
    std::int32_t FCurrentIndex = -1;
};

}  // namespace olve
