#pragma once
#include <vector>

class QTextDocument;

namespace olve {

// The visual lines of a laid-out document in order, so that the line of a position or of a
// height is found by a binary search instead of a walk over every block: the view asks on
// each tick of the player, and a long text has hundreds of thousands of lines. It is a
// snapshot and is taken anew after each change of the layout.
class TVisualLines {
public:
    TVisualLines() = default;
    // The document must be laid out to its end.
    explicit TVisualLines(const QTextDocument& document);

    int Count() const { return static_cast<int>(FLines.size()); }
    // The line holding a document position: the last line starting at or before it, so a
    // paragraph's closing separator belongs to the paragraph's last line. −1 when empty.
    int LineOf(int position) const;
    // The first line reaching below y (document coordinates); Count() when none does.
    int FirstReachingBelow(double y) const;

    // Document position of the line's first character.
    int Start(int line) const { return FLines[line].Start; }
    // Document position of the line's paragraph and the line's number within it.
    int BlockStart(int line) const { return FLines[line].BlockStart; }
    int NumberInBlock(int line) const { return FLines[line].NumberInBlock; }
    // Top of the line in document coordinates.
    double Top(int line) const { return FLines[line].Top; }

private:
    struct TLine {
        int Start = 0;
        int BlockStart = 0;
        int NumberInBlock = 0;
        double Top = 0;
        double Bottom = 0;
    };
    std::vector<TLine> FLines;
};

}  // namespace olve
