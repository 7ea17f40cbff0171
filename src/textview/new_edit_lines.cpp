// Line geometry and scrolling of TNewEdit. Lines are the visual lines of the laid-out text;
// scrolling moves the first visible line to a line's top. Lines are looked up in the
// snapshot of visual lines, so no query walks the document: the player asks them on every
// tick, whatever the length of the text.
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "textview/new_edit.h"

namespace olve {

namespace {

bool IsLineBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n' || c == u'\r';
}

}  // namespace

void TNewEdit::EnsureLayout() const
{
    document()->documentLayout()->documentSize();
}

const TVisualLines& TNewEdit::VisualLines() const
{
    EnsureLayout();
    if (FVisualLinesStale) {
        FVisualLines = TVisualLines(*document());
        FVisualLinesStale = false;
    }
    return FVisualLines;
}

QTextLine TNewEdit::TextLineAt(int position, QTextBlock& block) const
{
    const TVisualLines& lines = VisualLines();
    block = document()->findBlock(position);
    const int line = lines.LineOf(position);
    if (line < 0 || lines.BlockStart(line) != block.position())
        return QTextLine();
    return block.layout()->lineAt(lines.NumberInBlock(line));
}

QPointF TNewEdit::ToViewPoint(QPointF documentPoint) const
{
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return documentPoint - scrolled + viewport()->geometry().topLeft();
}

int TNewEdit::TextLength() const
{
    return document()->characterCount() - 1;
}

int TNewEdit::LineCount() const
{
    return VisualLines().Count();
}

double TNewEdit::LineTop(int line) const
{
    const TVisualLines& lines = VisualLines();
    return line >= 0 && line < lines.Count() ? lines.Top(line) : document()->documentMargin();
}

int TNewEdit::FirstVisibleLine() const
{
    const TVisualLines& lines = VisualLines();
    // A line counts as visible as long as part of it is in the view.
    const int line = lines.FirstReachingBelow(verticalScrollBar()->value());
    return line < lines.Count() ? line : std::max(0, lines.Count() - 1);
}

int TNewEdit::LineFromChar(int position) const
{
    if (position < 0)
        position = textCursor().selectionStart();
    const TVisualLines& lines = VisualLines();
    return std::max(0, lines.LineOf(std::clamp(position, 0, TextLength())));
}

TNewEdit::TCharPlace TNewEdit::PlaceOfChar(int position) const
{
    position = std::clamp(position, 0, TextLength());
    QTextBlock block;
    const QTextLine line = TextLineAt(position, block);
    const QTextLayout* layout = block.layout();
    if (!line.isValid())
        return {ToViewPoint(layout->position()).toPoint(), 0};
    const QPointF place = layout->position() + QPointF(line.cursorToX(position - block.position()), line.y());
    return {ToViewPoint(place).toPoint(), qRound(line.height())};
}

QPoint TNewEdit::PosFromChar(int position) const
{
    return PlaceOfChar(position).Pos;
}

int TNewEdit::RightEdgeOfChar(int position) const
{
    if (IsLineBreakAt(position))
        return PlaceOfChar(position).Pos.x();
    position = std::clamp(position, 0, TextLength());
    QTextBlock block;
    const QTextLine line = TextLineAt(position, block);
    if (!line.isValid())
        return PlaceOfChar(position).Pos.x();
    // Measured on the character's own line, so kerning and a wrap after it do not matter.
    const double x = block.layout()->position().x() + line.cursorToX(position - block.position() + 1);
    return qRound(ToViewPoint({x, 0}).x());
}

bool TNewEdit::IsLineBreakAt(int position) const
{
    return position >= 0 && position < TextLength() && IsLineBreak(document()->characterAt(position));
}

void TNewEdit::LineScroll(int lines)
{
    const int count = LineCount();
    if (count == 0)
        return;
    const int target = std::clamp(FirstVisibleLine() + lines, 0, count - 1);
    // The target line's top comes to the view's top; the first line keeps its margin.
    verticalScrollBar()->setValue(target == 0 ? 0 : static_cast<int>(std::ceil(LineTop(target))));
}

int TNewEdit::LinesPerPage() const
{
    const int count = LineCount();
    if (count > 0) {
        const int lineHeight = FContentHeight / count;
        if (lineHeight > 0)
            return std::max(1, viewport()->height() / lineHeight);
    }
    return 1;
}

void TNewEdit::ScrollToLine(int line)
{
    const int delta = line - FirstVisibleLine();
    if (delta != 0)
        LineScroll(delta);
}

void TNewEdit::ScrollToChar(int)
{
}

void TNewEdit::KeepCaretVisible()
{
    const int first = FirstVisibleLine();
    const int current = LineFromChar(-1);
    const int page = LinesPerPage();
    int delta = current - first;
    if (delta >= 0 && delta < page) {
        if (current == first + page - 1 && first > 0)
            LineScroll(1);
        return;
    }
    // Below the page the caret comes to the second visible line, above it to the first.
    if (delta > 0)
        delta = std::max(delta - 1, 1);
    if (LineCount() < current + delta)
        delta = LineCount() - current;
    LineScroll(delta);
}

}  // namespace olve
