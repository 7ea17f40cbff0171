#include "app/card_text_show.h"

#include <QMouseEvent>
#include <QTextCursor>
#include <algorithm>

#include "lesson/lesson_player.h"
#include "codec/card_text.h"
#include "title/shown_card_text.h"

namespace olve {

namespace {

constexpr std::int64_t WholeText = 2147483647;
constexpr int DoublePressMs = 300;

}  // namespace

TCardTextShow::TCardTextShow(TNewULEditNet& main, TNewULEditNet& sub, TLessonPlayer& lesson)
    : FMain(main), FSub(sub), FLesson(lesson)
{
}

void TCardTextShow::Forget()
{
    FShownMainCard = -1;
    FShownTick.reset();
    FLastCaret = -1;
}

void TCardTextShow::ShowTop(const TPlayCardItem& first)
{
    FMain.ResetUnderline();
    FMain.SetDisplayText(std::string());
    FMain.setUpdatesEnabled(false);
    FMain.SetDisplayText(ExpandLineBreaks(first.MainText), ExactMainLines(first));
    ColorMainText(0, WholeText, FMain.palette().color(QPalette::Base));
    FMain.setUpdatesEnabled(true);
    FSub.SetDisplayText(first.SubText);
}

bool TCardTextShow::Show(const TPlayCardItem& card, int i, std::int64_t position, bool changed, TStyle style)
{
    const TSpokenRange spoken = FLesson.Timeline().Spoken(i, position);
    const std::int64_t r0 = spoken.Start;
    const std::int64_t r1 = spoken.Length;
    const bool english = FLesson.Shows(TTextLanguage::English, i);
    const bool japanese = FLesson.Shows(TTextLanguage::Japanese, i);
    const TTextPart underline = FLesson.Timeline().Underline(i, position);
    TShownTick tick{FMain.TextRevision(), english, japanese, style.Cursor, style.Underline, spoken.Reached, underline};
    if (!changed && i == FShownMainCard && FShownTick == tick)
        return false;
    const QColor hidden = FMain.palette().color(QPalette::Base);
    if (changed || i != FShownMainCard || FMain.TextRevision() != FShownMainRevision || english != FShownEnglish) {
        const std::string shown = ExpandLineBreaks(card.MainText);
        const std::string exact = ExactMainLines(card);
        if (shown != FMain.DisplayText() || exact != FMain.ShownText()) {
            FMain.SetDisplayText(shown, exact);
            ColorMainText(english ? static_cast<int>(r0 + r1) : 0, WholeText, hidden);
        } else if (!english) {
            ColorMainText(0, WholeText, hidden);
        } else if (english != FShownEnglish) {
            ColorMainText(0, r0 + r1, Qt::black);
        } else if (changed) {
            ColorMainText(static_cast<int>(r0), r1, Qt::black);
        }
        FShownMainCard = i;
        FShownMainRevision = FMain.TextRevision();
        FShownEnglish = english;
    }
    FSub.SetDisplayText(japanese ? card.SubText : std::string());
    const std::int64_t k = spoken.Reached;
    if (style.Cursor) {
        // Moving the caret lays its line out again: only when it moves.
        const int caret = FMain.ViewPosition(k);
        if (caret != FLastCaret || changed) {
            QTextCursor cursor = FMain.textCursor();
            cursor.setPosition(caret);
            FMain.setTextCursor(cursor);
            FLastCaret = caret;
        }
        if (FMain.cursorWidth() != 1)
            FMain.setCursorWidth(1);
    } else {
        if (FMain.cursorWidth() != 0)
            FMain.setCursorWidth(0);
        if (FMain.focusPolicy() != Qt::NoFocus && k >= 0)
            FMain.ScrollToChar(static_cast<int>(k));
    }
    if (FMain.focusPolicy() != Qt::NoFocus && style.Focus)
        FMain.setFocus();
    FMain.SetUnderlineStart(static_cast<int>(underline.Start));
    FMain.SetUnderlineLength(static_cast<int>(underline.Length));
    FMain.SetShowUnderline(style.Underline && english);
    FMain.UpdateUnderline();
    tick.Revision = FMain.TextRevision();
    FShownTick = tick;
    return true;
}

void TCardTextShow::ColorMainText(int start, std::int64_t length, const QColor& colour)
{
    const int from = FMain.ViewPosition(start);
    const int to = FMain.ViewEndPosition(std::int64_t(start) + std::max<std::int64_t>(length, 0));
    QTextCursor cursor(FMain.document());
    cursor.setPosition(from);
    cursor.setPosition(std::max(from, to), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.mergeCharFormat(format);
}

// The byte offset in the main text of a position of the view.
int TCardTextShow::TextOffsetOfPosition(int position) const
{
    int low = 0;
    int high = static_cast<int>(FMain.DisplayText().size());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (FMain.ViewPosition(mid) <= position)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

void TCardTextShow::Click(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool second = FHasPress && FLastPress.elapsed() < DoublePressMs;
    FLastPress.start();
    FHasPress = true;
    if (!second)
        return;
    const QTextCursor selection = FMain.cursorForPosition(event->position().toPoint());
    FLesson.ClickAt(FMain.DisplayText(), TextOffsetOfPosition(selection.position()));
}

}  // namespace olve
