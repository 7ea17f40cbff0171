#include "app/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/card_list.h"
#include "app/fading_notice.h"
#include "app/start_page.h"
#include "app/text_pane.h"
#include "app/tool_bar.h"
#include "app/work_progress_box.h"
#include "lesson/key_commands.h"
#include "lesson/opening_queue.h"
#include "lesson/series_play.h"
#include "lesson/title_opening.h"
#include "media/device_error.h"
#include "timing/tick_wait.h"

namespace olve {

void TForm1::FollowLesson()
{
    TLessonPlayer* lesson = FLesson;
    lesson->TickView = [this] {
        return TLessonPlayer::TTickView{FTextPane->CaretMoves(), FToolBar->ProgressWidth()};
    };
    connect(lesson, &TLessonPlayer::NoMoreCards, this, &TForm1::ShowNoMoreCards);
    connect(lesson, &TLessonPlayer::PlayFailed, this, &TForm1::ShowPlayFailure);
    connect(lesson, &TLessonPlayer::CardShiftChanged, this, &TForm1::ShowCardShift);
    connect(lesson, &TLessonPlayer::CardsSynced, this, [this](const QString& message) { FPrompts.Message(message.toStdString()); });
    connect(lesson, &TLessonPlayer::CardSyncFailed, this, [this](const TFailure& failure) { FPrompts.Message(BilingualText(failure)); });
    new TWorkProgressBox(this, lesson->CardSync());
}

void TForm1::ShowCardShift(std::int64_t ms)
{
    ShowFadingNotice(this, "CardShift", QString::fromStdString(CardShiftNotice(ms)));
}

void TForm1::ShowNoMoreCards()
{
    // The end of a series' episode offers the next, once the lesson player has returned.
    if (const std::optional<std::string> next = FSeries->NextEpisode()) {
        QTimer::singleShot(0, this, [this, question = NextEpisodeQuestion(*next)] {
            if (FSeries->NextEpisode() && FPrompts.Question(question))
                OpenNextEpisode();
        });
        return;
    }
    std::fprintf(stderr, "つぎはありません\n");
    ShowFadingNotice(this, "NoMoreCards", "つぎはありません");
}

// A play that failed was not heard: the learner reads why.
void TForm1::ShowPlayFailure(const QString& reason)
{
    FPrompts.Message(BilingualText(PlayFailure(reason)));
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    const TKeyCommand command = KeyCommand(key, modifiers, scanCode);
    if (FToolBar->Actions().Run(command))
        return true;
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
        FCardList->ToggleLoop();
        return true;
    case TKeyCommand::ResumeLastCard:
        FTextPane->ResumeLastCard();
        return true;
    case TKeyCommand::Help:
        if (OnHelp)
            OnHelp();
        return true;
    case TKeyCommand::ShiftEarlier:
    case TKeyCommand::ShiftLater:
    case TKeyCommand::ShiftSecondEarlier:
    case TKeyCommand::ShiftSecondLater:
        FLesson->ShiftCards(CardTimeStepMs(command));
        return true;
    case TKeyCommand::UndoCardChange:
        if (!FLesson->UndoCardChange())
            ShowFadingNotice(this, "CardShift", "もどせる変更はありません  Nothing to undo");
        return true;
    case TKeyCommand::CardStartEarlier:
    case TKeyCommand::CardStartLater:
        FLesson->NudgeCardEdge(TCardEdge::Start, CardTimeStepMs(command));
        return true;
    case TKeyCommand::CardEndEarlier:
    case TKeyCommand::CardEndLater:
        FLesson->NudgeCardEdge(TCardEdge::End, CardTimeStepMs(command));
        return true;
    case TKeyCommand::SyncCards:
        FLesson->SyncCardsToSpeech();
        return true;
    case TKeyCommand::SwitchSentenceCards:
        FOpenings->Begin();
        if (FSerial.empty() || !FTitleOpening->SwitchSentenceCards(FPlayer->FileName.toStdString(), FStore->DataFolder()))
            FOpenings->End();
        return true;
    default:
        return false;
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* target = qobject_cast<QWidget*>(watched);
        // The start page's list takes its own keys (Enter opens, Delete removes).
        const bool onStartPage = FStartPage && FStartPage->isVisible() && FStartPage->isAncestorOf(target);
        if (target && target->window() == this && isActiveWindow() && !FCardList->ItemList()->isVisible() && !onStartPage)
            return FormKeyDown(key->key(), key->modifiers(), key->nativeScanCode());
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olve
