#include "textview/visual_lines.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace olve {

TVisualLines::TVisualLines(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const double blockTop = layout->position().y();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double top = blockTop + line.y();
            FLines.push_back({block.position() + line.textStart(), block.position(), i, top, top + line.height()});
        }
    }
}

int TVisualLines::LineOf(int position) const
{
    if (FLines.empty())
        return -1;
    const auto after = std::upper_bound(FLines.begin(), FLines.end(), position,
                                        [](int p, const TLine& line) { return p < line.Start; });
    return std::max(0, static_cast<int>(after - FLines.begin()) - 1);
}

int TVisualLines::FirstReachingBelow(double y) const
{
    const auto first = std::upper_bound(FLines.begin(), FLines.end(), y,
                                        [](double at, const TLine& line) { return at < line.Bottom; });
    return static_cast<int>(first - FLines.begin());
}

}  // namespace olve
