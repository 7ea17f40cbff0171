#pragma once
#include <QTableWidget>
#include <QWidget>
#include <memory>

#include "textview/new_ul_edit_net.h"
#include "title/display_mode.h"

namespace olve {

class TCardTextShow;
class TLessonPlayer;
class TPaneDivider;
class TResumeNotice;

// The pane of the card texts: the English view above the divider, the Japanese one below it,
// the notice that offers the last card, and in the card list modes the card grid in their
// place. It shows the lesson's current card by itself and lays itself out as it is resized.
class TTextPane : public QWidget {
    Q_OBJECT
public:
    // The Japanese pane's height before the divider has been moved.
    static constexpr int DefaultSubHeight = 64;

    TTextPane(QWidget* parent, TLessonPlayer& lesson);
    ~TTextPane() override;

    TNewULEditNet* MainView() const { return FMainView; }
    TNewULEditNet* SubView() const { return FSubView; }
    TResumeNotice* ResumeNotice() const { return FResume; }
    // A grid (a child of the pane) that fills the pane in the card list modes.
    void HoldGrid(QTableWidget* grid);

    // The views, or the grid in the card list modes, with the Japanese pane subHeight high
    // as the divider left it.
    void SetDisplayMode(TDisplayMode mode, int subHeight);
    // The Japanese pane's height as the divider left it.
    int SubHeight() const { return FSubWanted; }
    // The lesson's title opens with its own way of showing the text; the Japanese view shows
    // outside the card list modes when some card has Japanese text.
    void TakeTitle(const TTitleDisplay& display);
    // The caret follows the play (the title asks for it and the views show).
    bool CaretMoves() const { return FShowCursor && !FCardList; }
    void ClearText();
    // The English view takes the focus where it may.
    void FocusText();
    void LayOut();

    // A key's step up or down (delta 1 or -1) of the English or the Japanese text's size.
    void StepFontSize(bool main, int delta);
    // The sizes the learner chose, kept for the title; a size of 0 leaves the view as it is.
    int MainFontSize() const { return FMainFontSize; }
    int SubFontSize() const;
    void RestoreFontSizes(int main, int sub);

    // Offers to go on from lastCard of count cards; ResumeLastCard plays the card offered.
    void OfferResume(int lastCard, int count);
    void ResumeLastCard();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TNewULEditNet* MakeView(const char* name);
    void ShowCard(int i, std::int64_t position, bool changed);
    void ShowTop();
    void DragDivider(int y);
    int SubViewFit() const;
    void ApplyMainFontSize();
    void PlaceResumeNotice();

    TLessonPlayer& FLesson;
    TNewULEditNet* FMainView = nullptr;
    TNewULEditNet* FSubView = nullptr;
    TPaneDivider* pnDivider = nullptr;
    TResumeNotice* FResume = nullptr;
    QTableWidget* FGrid = nullptr;
    std::unique_ptr<TCardTextShow> FCardText;
    // The Japanese pane's height as the divider left it; its text may make it taller.
    int FSubWanted = 0;
    // The English text's size as the learner chose it; a large pane adds steps on top.
    int FMainFontSize = 0;
    bool FCardList = false;
    bool FShowCursor = false;
    bool FShowUnderline = false;
};

}  // namespace olve
