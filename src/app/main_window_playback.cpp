#include "app/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstdio>

#include "app/card_text_show.h"
#include "app/fading_notice.h"
#include "app/practice_buttons.h"
#include "app/start_page.h"
#include "app/tool_bar_widgets.h"
#include "app/tool_glyphs.h"
#include "media/device_error.h"
#include "media/wave_volume.h"
#include "timing/tick_wait.h"

namespace olve {

void TForm1::FollowLesson()
{
    TLessonPlayer* lesson = FLesson;
    connect(lesson, &TLessonPlayer::CardChosen, this, &TForm1::HideResumeNotice);
    connect(lesson, &TLessonPlayer::CardShown, this, &TForm1::ShowCard);
    connect(lesson, &TLessonPlayer::TopShown, this, &TForm1::ShowTop);
    connect(lesson, &TLessonPlayer::CardsChanged, this, [this] { FCardText->Forget(); });
    connect(lesson, &TLessonPlayer::Running, anPlaying, &TPlayingAnimation::SetActive);
    const auto showProgress = [this](std::int64_t position) { ShowProgress(static_cast<int>(position)); };
    connect(lesson, &TLessonPlayer::Progress, this, showProgress);
    lesson->TickView = [this] {
        return TLessonPlayer::TTickView{FShowCursor && !IsCardList(FDisplayMode), imPlayer->width()};
    };
    connect(lesson, &TLessonPlayer::PauseChanged, acPause, &QAction::setChecked);
    connect(lesson, &TLessonPlayer::AutoPauseChanged, this, &TForm1::ShowAutoPause);
    connect(lesson, &TLessonPlayer::PracticeChanged, this, [this] { FPracticeButtons->Show(); });
    connect(lesson, &TLessonPlayer::SpeedChanged, this, &TForm1::ShowSpeed);
    connect(lesson, &TLessonPlayer::Sought, this, showProgress);
    connect(lesson, &TLessonPlayer::NoMoreCards, this, &TForm1::ShowNoMoreCards);
    connect(lesson, &TLessonPlayer::PlayFailed, this, &TForm1::ShowPlayFailure);
}

void TForm1::ShowTop()
{
    const TPlayCardItem& first = FPackage->MainCards.Card(0);
    FCardText->ShowTop(first);
    ShowPicture(first.Picture);
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

void TForm1::ShowCard(int i, std::int64_t position, bool changed)
{
    if (ShowCounter())
        FitPlaceLabels();
    const TPlayCardItem& card = FPackage->MainCards.Card(i);
    if (IsCardList(FDisplayMode)) {
        FCardText->Forget();
        if (!changed)
            return;
        SelectCardRow(i + 1);
        if (FDisplayMode == TDisplayMode::ListPic)
            ShowPicture(card.Picture);
        return;
    }
    if (FCardText->Show(card, i, position, changed, {FShowCursor, FShowUnderline, isActiveWindow()}))
        ShowPicture(card.Picture);
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    // The key right of "0" gives "=" with Shift on Japanese keyboards: it is the minus key.
    constexpr quint32 MinusKeyScanCode = 20;
    const bool keypad = modifiers & Qt::KeypadModifier;
    QAction* action = nullptr;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_H:
        action = acPlay;
        break;
    case Qt::Key_Escape:
    case Qt::Key_S:
        action = acStop;
        break;
    case Qt::Key_Space:
    case Qt::Key_P:
        action = acPause;
        break;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        action = keypad ? acPause : nullptr;
        break;
    case Qt::Key_Home:
    case Qt::Key_T:
        action = acTop;
        break;
    case Qt::Key_0:
    case Qt::Key_L:
        action = acPlayList;
        break;
    case Qt::Key_1:
    case Qt::Key_A:
        action = acAutoPause;
        break;
    case Qt::Key_B:
    case Qt::Key_Minus:
        action = acBack;
        break;
    case Qt::Key_N:
    case Qt::Key_Plus:
        action = acNext;
        break;
    case Qt::Key_Equal:
        action = scanCode == MinusKeyScanCode ? acBack : acNext;
        break;
    case Qt::Key_Left:
        StepSeek(-1);
        return true;
    case Qt::Key_Right:
        StepSeek(1);
        return true;
    case Qt::Key_F1:
        StepFontSize(FMainView, -1);
        return true;
    case Qt::Key_F2:
        StepFontSize(FMainView, 1);
        return true;
    case Qt::Key_F3:
        StepFontSize(FSubView, -1);
        return true;
    case Qt::Key_F4:
        StepFontSize(FSubView, 1);
        return true;
    case Qt::Key_BracketLeft:
        SetSpeedTenths(StepSpeedTenths(FLesson->SpeedTenths(), -1));
        return true;
    case Qt::Key_BracketRight:
        SetSpeedTenths(StepSpeedTenths(FLesson->SpeedTenths(), 1));
        return true;
    case Qt::Key_Backslash:
        SetSpeedTenths(NormalSpeedTenths);
        return true;
    case Qt::Key_R:
        FLesson->StepRepeats();
        return true;
    case Qt::Key_W:
        FLesson->StepShadowing();
        return true;
    case Qt::Key_E:
        FLesson->StepEnglishReveal();
        return true;
    case Qt::Key_J:
        FLesson->StepJapaneseReveal();
        return true;
    case Qt::Key_O:
        if (modifiers & Qt::ControlModifier)
            ShowOpenDialog();
        else
            ToggleLoop();
        return true;
    case Qt::Key_G:
        ResumeLastCard();
        return true;
    case Qt::Key_Question:
        if (OnHelp)
            OnHelp();
        return true;
    default:
        return false;
    }
    if (!action)
        return false;
    if (action->isEnabled())
        action->trigger();
    return true;
}

void TForm1::SetWaveVolumeOfPlayer(int value)
{
    if (GetWaveVolume(Player()) != value)
        SetWaveVolume(Player(), value);
    if (tbVolume->value() != GetWaveVolume(Player()))
        tbVolume->setValue(GetWaveVolume(Player()));
}

void TForm1::ShowVolumeBar()
{
    tbVolume->blockSignals(true);
    tbVolume->setValue(GetWaveVolume(Player()));
    tbVolume->blockSignals(false);
    // From the overflow menu when the speaker has made way for a narrow window.
    const QWidget* anchor = Image3->isHidden() ? static_cast<QWidget*>(sbOverflow) : Image3;
    const QPoint icon = anchor->mapTo(this, QPoint(0, 0));
    const int x = std::min(icon.x() - tbVolume->width() / 2, width() - tbVolume->width());
    tbVolume->move(std::max(0, x), pnToolBar->height());
    tbVolume->show();
    tbVolume->raise();
}

void TForm1::HideVolumeBar(const QPoint& globalPos)
{
    if (!tbVolume->isVisible())
        return;
    const QPoint local = mapFromGlobal(globalPos);
    if (!tbVolume->geometry().adjusted(-50, -25, 50, 25).contains(local))
        tbVolume->hide();
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
            HideVolumeBar(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::Resize:
        if (watched == pnText)
            LayOutTextPane();
        else if (watched == pnPic) {
            FPicture->setGeometry(pnPic->rect());
            FitVideo();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olve
