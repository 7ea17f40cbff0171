#include "title/list_error.h"

namespace olve {

EListError::EListError(int index)
    : std::out_of_range("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")"), FIndex(index)
{
}

}  // namespace olve
