#include "textview/new_ul_edit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstdlib>

#include "codec/cp932_text.h"

namespace olve {

bool TNewULEdit::FLayingOut = false;

TNewULEdit::TNewULEdit(QWidget* parent) : TNewEdit(parent)
{
    OnResizeRequest = [this] { MeasureLineHeight(); };
    // Bars follow the text however it scrolls: scroll bar, wheel, keys or the view's own rules.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateUnderline(); });
}

TNewULEdit::~TNewULEdit()
{
    disconnect(verticalScrollBar(), nullptr, this, nullptr);
    ClearUnderline();
}

void TNewULEdit::SetShowUnderline(bool show)
{
    FShowUnderline = show;
    UpdateUnderline();
}

void TNewULEdit::ResetUnderline()
{
    ClearUnderline();
    FUnderlineStart = 0;
    FUnderlineLength = 0;
}

void TNewULEdit::ClearUnderline()
{
    for (auto it = FBars.rbegin(); it != FBars.rend(); ++it)
        delete it->data();
    FBars.clear();
    FLaidOut.reset();
}

std::vector<TUnderLine*> TNewULEdit::Bars() const
{
    std::vector<TUnderLine*> bars;
    for (const QPointer<TUnderLine>& bar : FBars) {
        if (bar)
            bars.push_back(bar.data());
    }
    return bars;
}

void TNewULEdit::UpdateUnderline()
{
    if (FLayingOut)
        return;
    const QScopedValueRollback layingOut(FLayingOut, true);

    if (!FShowUnderline || DisplayText().empty() || !parentWidget() || !isVisibleTo(parentWidget())) {
        ClearUnderline();
        return;
    }
    const int start = ViewPosition(std::max(FUnderlineStart, 0));
    const int end = std::max(start, ViewEndPosition(static_cast<std::int64_t>(FUnderlineStart) + FUnderlineLength));
    const TLaidOut wanted{start, end, {horizontalScrollBar()->value(), verticalScrollBar()->value()}};
    if (FLaidOut == wanted)
        return;
    ClearUnderline();
    LayRange(start, end);
    FLaidOut = wanted;
    for (auto it = FBars.rbegin(); it != FBars.rend(); ++it)
        (*it)->show();
}

void TNewULEdit::LayRange(int start, int end)
{
    const int length = TextLength();
    // Line breaks at the end of the range are not underlined.
    if (end > 0 && end < length) {
        while (end > start && IsLineBreakAt(end - 1))
            --end;
    }
    if (end > start)
        LayBars(start, std::min(end, length));
}

// One bar per visual line of the range in view: from the left edge of the line's first
// character in the range to the right edge of its last one; the last bar ends at the left
// edge of the character after the range. Bars sit on the bottom of their own line, since
// lines holding Japanese are taller than Latin ones; a bar must lie inside the view.
void TNewULEdit::LayBars(int start, int end)
{
    const int viewTop = viewport()->geometry().y();
    const int viewBottom = viewTop + viewport()->height();
    const TVisualLines& lines = VisualLines();
    const int last = lines.LineOf(end);
    // From one line above the first reaching into the view: rounding decides at the edge.
    int line = std::max(lines.LineOf(start), lines.FirstReachingBelow(verticalScrollBar()->value()) - 1);
    for (; line <= last; ++line) {
        const TCharPlace first = PlaceOfChar(std::max(start, lines.Start(line)));
        const int top = first.Pos.y() + first.LineHeight;
        if (top >= viewBottom)
            break;
        const int right = line < last ? RightEdgeOfChar(lines.Start(line + 1) - 1) : PosFromChar(end).x();
        if (top > viewTop && first.Pos.x() < right)
            AddBar(pos().x() + first.Pos.x(), pos().y() + top, right - first.Pos.x());
    }
}

void TNewULEdit::AddBar(int left, int top, int width)
{
    auto* bar = new TUnderLine(this, parentWidget());
    bar->setGeometry(left, top, width, BarHeight());
    FBars.emplace_back(bar);
}

int TNewULEdit::BarHeight() const
{
    const int fontPixels = font().pixelSize() > 0 ? font().pixelSize() : qRound(FontPointSize() * logicalDpiY() / 72.0);
    return std::max(1, std::abs(fontPixels) / 8);
}

void TNewULEdit::LayOutAnew()
{
    FLaidOut.reset();
    UpdateUnderline();
}

void TNewULEdit::ScrollToChar(int offset)
{
    TNewEdit::ScrollToChar(offset);
    const int line = LineFromChar(ViewPosition(offset));
    const int first = FirstVisibleLine();
    const int page = LinesPerPage();
    int delta = 0;
    if (line >= first + page) {
        delta = line - first - page / 2;
        if (LineCount() < line + delta)
            delta = LineCount() - line;
    } else if (line < first) {
        delta = line - first;
    }
    if (delta != 0) {
        LineScroll(delta);
        if (FShowUnderline)
            UpdateUnderline();
    }
}

int TNewULEdit::MeasureChar(const std::string& text, int i) const
{
    if (i < 1 || i > static_cast<int>(text.size()))
        return 0;
    const bool lead = IsLeadByte(static_cast<std::uint8_t>(text[i - 1]));
    const std::string character = text.substr(i - 1, lead ? 2 : 1);
    QFont face = FMeasureFont;
    face.setFamilies({lead ? DBCSFontName() : SBCSFontName()});
    return QFontMetrics(face).horizontalAdvance(QString::fromUtf8(Cp932ToUtf8(character)));
}

void TNewULEdit::MeasureLineHeight()
{
    FMeasureFont = font();
    FLineHeight = QFontMetrics(FMeasureFont).size(Qt::TextSingleLine, QStringLiteral("Wg")).height();
}

void TNewULEdit::SelectionChange()
{
    TNewEdit::SelectionChange();
    UpdateUnderline();
}

void TNewULEdit::ContentRebuilt()
{
    LayOutAnew();
}

void TNewULEdit::LayoutChanged()
{
    // Laid out again by the next update: this runs inside the document's own layout.
    FLaidOut.reset();
}

void TNewULEdit::resizeEvent(QResizeEvent* event)
{
    TNewEdit::resizeEvent(event);
    LayOutAnew();
}

void TNewULEdit::moveEvent(QMoveEvent* event)
{
    TNewEdit::moveEvent(event);
    LayOutAnew();
}

void TNewULEdit::showEvent(QShowEvent* event)
{
    TNewEdit::showEvent(event);
    // A parent being shown goes through a list of its children taken beforehand, the bars
    // among them: the old bars are hidden at once, so that it passes them by, and freed once
    // it is done.
    for (const QPointer<TUnderLine>& bar : FBars) {
        if (bar) {
            bar->hide();
            bar->deleteLater();
        }
    }
    FBars.clear();
    LayOutAnew();
}

void TNewULEdit::hideEvent(QHideEvent* event)
{
    TNewEdit::hideEvent(event);
    // Bars are siblings of the view: they would stay on screen over whatever replaces it.
    if (isHidden())
        ClearUnderline();
}

void TNewULEdit::changeEvent(QEvent* event)
{
    TNewEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        LayOutAnew();
}

}  // namespace olve
