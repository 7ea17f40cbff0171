#include "app/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/fading_notice.h"
#include "app/practice_buttons.h"
#include "app/start_page.h"
#include "app/tool_bar_widgets.h"
#include "app/tool_glyphs.h"
#include "app/volume_bar.h"
#include "app/text_pane.h"
#include "app/overflow_button.h"
#include "lesson/key_commands.h"
#include "media/device_error.h"
#include "timing/tick_wait.h"

namespace olve {

void TForm1::FollowLesson()
{
    TLessonPlayer* lesson = FLesson;
    connect(lesson, &TLessonPlayer::CardShown, this, &TForm1::ShowCard);
    connect(lesson, &TLessonPlayer::Running, anPlaying, &TPlayingAnimation::SetActive);
    const auto showProgress = [this](std::int64_t position) { ShowProgress(static_cast<int>(position)); };
    connect(lesson, &TLessonPlayer::Progress, this, showProgress);
    lesson->TickView = [this] {
        return TLessonPlayer::TTickView{FTextPane->CaretMoves(), imPlayer->width()};
    };
    connect(lesson, &TLessonPlayer::PauseChanged, acPause, &QAction::setChecked);
    connect(lesson, &TLessonPlayer::AutoPauseChanged, this, &TForm1::ShowAutoPause);
    connect(lesson, &TLessonPlayer::PracticeChanged, this, [this] { FPracticeButtons->Show(); });
    connect(lesson, &TLessonPlayer::SpeedChanged, this, &TForm1::ShowSpeed);
    connect(lesson, &TLessonPlayer::Sought, this, showProgress);
    connect(lesson, &TLessonPlayer::NoMoreCards, this, &TForm1::ShowNoMoreCards);
    connect(lesson, &TLessonPlayer::PlayFailed, this, &TForm1::ShowPlayFailure);
}

void TForm1::ShowNoMoreCards()
{
    std::fprintf(stderr, "つぎはありません\n");
    ShowFadingNotice(this, "NoMoreCards", "つぎはありません");
}

void TForm1::ShowAutoPause(bool on)
{
    acAutoPause->setIcon(GlyphIcon(on ? TGlyph::AutoPauseOn : TGlyph::AutoPauseOff));
    acAutoPause->setToolTip(on ? "オートポーズ autopause off" : "オートポーズ autopause on");
}

void TForm1::acPlayExecute()
{
    const int row = sgCards->currentRow();
    std::optional<int> chosen;
    if (IsCardList(FDisplayMode) && row > 0 && row <= FPackage->MainCards.Count())
        chosen = row - 1;
    FLesson->Here(chosen);
}

// A play that failed was not heard: the learner reads why.
void TForm1::ShowPlayFailure(const QString& reason)
{
    FPrompts.Message(std::string("再生できませんでした") + "\r\n\r\n" + "The recording could not be played." + "\r\n\r\n" +
                     reason.toStdString());
}

void TForm1::ShowProgress(int position)
{
    ShowPlace(position);
    const int length = Player().DeviceID() != 0 ? Player().Length() : 0;
    const int width = length < 1 ? 0 : static_cast<int>(std::int64_t(position) * imPlayer->width() / length);
    if (width == FLastProgressWidth)
        return;
    FLastProgressWidth = width;
    imPlayer->SetBarWidth(width);
}

void TForm1::ShowCard(int i, std::int64_t, bool changed)
{
    if (ShowCounter())
        FitPlaceLabels();
    // The panes show the card's text and picture themselves.
    if (IsCardList(FDisplayMode) && changed)
        SelectCardRow(i + 1);
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    const TKeyCommand command = KeyCommand(key, modifiers, scanCode);
    // In the order of the commands Play to Next.
    QAction* const actions[] = {acPlay, acStop, acPause, acTop, acPlayList, acAutoPause, acBack, acNext};
    const int first = static_cast<int>(TKeyCommand::Play);
    const int index = static_cast<int>(command) - first;
    if (index >= 0 && index < static_cast<int>(std::size(actions))) {
        if (actions[index]->isEnabled())
            actions[index]->trigger();
        return true;
    }
    switch (command) {
    case TKeyCommand::SeekBack:
    case TKeyCommand::SeekOn:
        FLesson->StepSeek(command == TKeyCommand::SeekBack ? -1 : 1);
        return true;
    case TKeyCommand::MainFontSmaller:
    case TKeyCommand::MainFontBigger:
        FTextPane->StepFontSize(true, command == TKeyCommand::MainFontSmaller ? -1 : 1);
        return true;
    case TKeyCommand::SubFontSmaller:
    case TKeyCommand::SubFontBigger:
        FTextPane->StepFontSize(false, command == TKeyCommand::SubFontSmaller ? -1 : 1);
        return true;
    case TKeyCommand::Slower:
    case TKeyCommand::Faster:
        FLesson->SetSpeedTenths(StepSpeedTenths(FLesson->SpeedTenths(), command == TKeyCommand::Slower ? -1 : 1));
        return true;
    case TKeyCommand::NormalSpeed:
        FLesson->SetSpeedTenths(NormalSpeedTenths);
        return true;
    case TKeyCommand::StepRepeats:
        FLesson->StepRepeats();
        return true;
    case TKeyCommand::StepShadowing:
        FLesson->StepShadowing();
        return true;
    case TKeyCommand::StepEnglishReveal:
        FLesson->StepEnglishReveal();
        return true;
    case TKeyCommand::StepJapaneseReveal:
        FLesson->StepJapaneseReveal();
        return true;
    case TKeyCommand::OpenDialog:
        ShowOpenDialog();
        return true;
    case TKeyCommand::ToggleLoop:
        ToggleLoop();
        return true;
    case TKeyCommand::ResumeLastCard:
        FTextPane->ResumeLastCard();
        return true;
    case TKeyCommand::Help:
        if (OnHelp)
            OnHelp();
        return true;
    default:
        return false;
    }
}

void TForm1::ShowVolumeBar()
{
    // From the overflow menu when the speaker has made way for a narrow window.
    const QWidget* anchor = Image3->isHidden() ? static_cast<QWidget*>(sbOverflow) : Image3;
    tbVolume->ShowUnder(anchor, pnToolBar->height());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* target = qobject_cast<QWidget*>(watched);
        // The start page's list takes its own keys (Enter opens, Delete removes).
        const bool onStartPage = FStartPage && FStartPage->isVisible() && FStartPage->isAncestorOf(target);
        if (target && target->window() == this && isActiveWindow() && !pmItemList->isVisible() && !onStartPage)
            return FormKeyDown(key->key(), key->modifiers(), key->nativeScanCode());
        break;
    }
    case QEvent::MouseMove:
        if (watched == Image3)
            ShowVolumeBar();
        else
            tbVolume->HideAway(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olve
