#include "textview/indent_type.h"

namespace olve {

TParagraphIndents IndentsOf(TIndentType type, double fontSize)
{
    switch (type) {
    case itStandard:
        return {fontSize + 10, -fontSize, 10};
    case itFlat:
        return {2, 0, 2};
    case itDialog:
        return {10, 2 * fontSize, 10};
    default:
        return {10, fontSize, 10};
    }
}

}  // namespace olve
