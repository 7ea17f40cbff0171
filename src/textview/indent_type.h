#pragma once

namespace olve {

// Indent styles of a text view's paragraphs. The underlying type is fixed so that any number
// a setting holds is a value of the type (see IndentsOf), not undefined behaviour.
enum TIndentType : int { itOlve = 0, itStandard = 1, itFlat = 2, itDialog = 3 };

// The three paragraph indents in points: the first line from the left margin, the following
// lines relative to the first line, and the right indent.
struct TParagraphIndents {
    double FirstLine = 0;
    double Following = 0;
    double Right = 0;
};

// fontSize is the view font's size in points. Values outside the four styles count as itOlve,
// because settings and callers may hand over any number.
TParagraphIndents IndentsOf(TIndentType type, double fontSize);

}  // namespace olve
