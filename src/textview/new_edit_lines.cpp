// Line geometry and scrolling of TNewEdit. Lines are the visual lines of the laid-out text;
// scrolling moves the first visible line to a line's top.
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
    EnsureLayout();
    int count = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        count += block.layout()->lineCount();
    return count;
}

double TNewEdit::LineTop(int line) const
{
    EnsureLayout();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (line < layout->lineCount())
            return layout->position().y() + layout->lineAt(line).y();
        line -= layout->lineCount();
    }
    return document()->documentMargin();
}

int TNewEdit::FirstVisibleLine() const
{
    EnsureLayout();
    // A line counts as visible as long as part of it is in the view.
    const double top = verticalScrollBar()->value();
    int index = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i, ++index) {
            const QTextLine line = layout->lineAt(i);
            if (layout->position().y() + line.y() + line.height() > top)
                return index;
        }
    }
    return std::max(0, index - 1);
}

int TNewEdit::LineFromChar(int position) const
{
    if (position < 0)
        position = textCursor().selectionStart();
    EnsureLayout();
    position = std::clamp(position, 0, TextLength());
    const QTextBlock target = document()->findBlock(position);
    int index = 0;
    for (QTextBlock block = document()->begin(); block.isValid() && block != target; block = block.next())
        index += block.layout()->lineCount();
    const QTextLine line = target.layout()->lineForTextPosition(position - target.position());
    return index + (line.isValid() ? line.lineNumber() : 0);
}

TNewEdit::TCharPlace TNewEdit::PlaceOfChar(int position) const
{
    EnsureLayout();
    position = std::clamp(position, 0, TextLength());
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout* layout = block.layout();
    const QTextLine line = layout->lineForTextPosition(position - block.position());
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
    EnsureLayout();
    position = std::clamp(position, 0, TextLength());
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout* layout = block.layout();
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return PlaceOfChar(position).Pos.x();
    // Measured on the character's own line, so kerning and a wrap after it do not matter.
    const double x = layout->position().x() + line.cursorToX(inBlock + 1);
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
