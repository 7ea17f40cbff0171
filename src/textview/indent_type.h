#pragma once

namespace olve {

// Indent styles of a text view's paragraphs.
enum TIndentType { itOlve = 0, itStandard = 1, itFlat = 2, itDialog = 3 };

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
