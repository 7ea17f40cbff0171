#pragma once
#include <stdexcept>
#include <string>

namespace olve {

// A card index outside the list: "リストのインデックスが範囲を超えています (<index>)".
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
    int Index() const { return FIndex; }

private:
    int FIndex;
};

}  // namespace olve
