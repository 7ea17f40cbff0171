#pragma once

namespace olve {

// Paragraph alignment of a text view.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace olve
