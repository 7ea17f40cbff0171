#pragma once
#include <QColor>
#include <QElapsedTimer>
#include <cstdint>
#include <optional>

#include "textview/new_ul_edit_net.h"
#include "title/card_timeline.h"
#include "title/play_card_item.h"

class QMouseEvent;

namespace olve {

class TLessonPlayer;

// The current card's texts in the main and the sub view, as the practice reveals them: the
// spoken range coloured, the word underlined, the caret or the scroll at the byte reached. A
// card's main text, which may be megabytes long, is set only when it changes, and a tick that
// would show the same again (every tick between two words) does nothing.
class TCardTextShow {
public:
    TCardTextShow(TNewULEditNet& main, TNewULEditNet& sub, TLessonPlayer& lesson);

    struct TStyle {
        bool Cursor = false;     // the caret marks the byte reached, else the view scrolls to it
        bool Underline = false;  // the word spoken is underlined
        bool Focus = false;      // the main view takes the focus
    };
    // Shows card i at position (changed: it was not current before); false when the views
    // showed it so already.
    bool Show(const TPlayCardItem& card, int i, std::int64_t position, bool changed, TStyle style);
    // A play from the top: the first card's texts, the main one hidden.
    void ShowTop(const TPlayCardItem& first);
    // The next Show draws the card anew (its texts, or the views, changed meanwhile).
    void Forget();
    // A double click in the main view plays the card there from the word clicked.
    void Click(QMouseEvent* event);

private:
    void ColorMainText(int start, std::int64_t length, const QColor& colour);
    // The byte offset in the main text of a position of the view.
    int TextOffsetOfPosition(int position) const;

    TNewULEditNet& FMain;
    TNewULEditNet& FSub;
    TLessonPlayer& FLesson;
    // Whether the English text was showing when the main view last showed the current card.
    bool FShownEnglish = true;
    int FLastCaret = -1;
    // The card whose main text the main view shows, at the view's text revision then.
    int FShownMainCard = -1;
    std::uint64_t FShownMainRevision = 0;
    // What the latest Show showed of the current card.
    struct TShownTick {
        std::uint64_t Revision = 0;
        bool English = false, Japanese = false, Cursor = false, Underline = false;
        std::int64_t Reached = -1;
        TTextPart Word;
        bool operator==(const TShownTick&) const = default;
    };
    std::optional<TShownTick> FShownTick;
    QElapsedTimer FLastPress;
    bool FHasPress = false;
};

}  // namespace olve
