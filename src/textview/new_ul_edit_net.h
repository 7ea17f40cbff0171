#pragma once
#include "textview/new_ul_edit.h"

namespace olve {

// The text view of the main window. Its line height is that of a line holding Latin and
// Japanese characters in the Latin face.
class TNewULEditNet : public TNewULEdit {
    Q_OBJECT
public:
    using TNewULEdit::TNewULEdit;

    void MeasureLineHeight() override;
};

}  // namespace olve
