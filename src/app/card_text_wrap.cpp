#include "app/card_text_wrap.h"

#include <QTextLayout>
#include <QTextOption>

namespace olve {

namespace {

QString TrimRight(const QString& text)
{
    int end = static_cast<int>(text.size());
    while (end > 0 && text[end - 1].unicode() <= ' ')
        --end;
    return text.left(end);
}

void WrapParagraph(const QString& paragraph, const QFont& font, int width, QStringList& lines)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qsizetype before = lines.size();
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << TrimRight(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    // An empty paragraph is an empty line.
    if (lines.size() == before)
        lines << QString();
}

}  // namespace

QStringList WrapCardText(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace("\r\n", "\r");
    for (const QString& paragraph : normalised.split('\r'))
        WrapParagraph(paragraph, font, width, lines);
    return lines;
}

}  // namespace olve
