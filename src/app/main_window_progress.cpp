// A title's progress and the learner's preferences for it, kept in the settings file: saved
// when the title is closed or replaced, restored when it opens, with a notice that offers to
// go on from the last card.
#include "app/main_window.h"

#include "media/wave_volume.h"
#include "title/title_progress.h"

namespace olve {

namespace {

constexpr int NoticeHeight = 26;

}  // namespace

void TForm1::CreateResumeNotice()
{
    lbResume = new QLabel(pnText);
    lbResume->setObjectName("lbResume");
    lbResume->setAutoFillBackground(true);
    QPalette notice = lbResume->palette();
    notice.setColor(QPalette::Window, QColor(255, 244, 196));
    notice.setColor(QPalette::WindowText, QColor(64, 48, 0));
    lbResume->setPalette(notice);
    lbResume->setIndent(8);
    lbResume->hide();
    SetWaveVolume(*FPlayer, FStore->Volume(GetWaveVolume(*FPlayer)));
}

void TForm1::SaveProgress()
{
    FStore->SaveSitting(GetWaveVolume(*FPlayer), FSerial, CurrentProgress());
}

TTitleProgress TForm1::CurrentProgress() const
{
    TTitleProgress progress;
    progress.LastCard = FLesson->CurrentCard();
    progress.SpeedTenths = FLesson->SpeedTenths();
    progress.Practice = FLesson->Practice();
    progress.Practice.Loop = false;
    progress.AutoPause = FLesson->AutoPause();
    progress.MainFontSize = FMainFontSize;
    progress.SubFontSize = FSubView->font().pointSize();
    return progress;
}

// Called once the title shows and plays from the top: its own preferences take over, and a
// last card past the first is offered.
void TForm1::RestoreProgress()
{
    const TTitleProgress progress = FStore->Progress(FSerial);
    FLesson->SetSpeedTenths(progress.SpeedTenths);
    // The loop belongs to the cards of the title it was chosen in: another title starts without.
    TPracticeSettings practice = progress.Practice;
    practice.Loop = false;
    FLesson->SetPractice(practice);
    FLesson->SetAutoPause(progress.AutoPause);
    if (progress.MainFontSize > 0) {
        FMainFontSize = progress.MainFontSize;
        ApplyMainFontSize();
    }
    if (progress.SubFontSize > 0)
        SetFontSize(FSubView, progress.SubFontSize);
    FResumeCard = progress.LastCard > 0 && progress.LastCard < FPackage->MainCards.Count() ? progress.LastCard : -1;
    if (FResumeCard < 0) {
        HideResumeNotice();
        return;
    }
    lbResume->setText(QStringLiteral("前回はカード %1 / %2 まで: G で続きから  (G: go on from card %1)")
                          .arg(FResumeCard + 1)
                          .arg(FPackage->MainCards.Count()));
    PlaceResumeNotice();
    lbResume->show();
    lbResume->raise();
}

void TForm1::PlaceResumeNotice()
{
    if (lbResume)
        lbResume->setGeometry(0, FMainView->geometry().bottom() + 1 - NoticeHeight, pnText->width(), NoticeHeight);
}

void TForm1::HideResumeNotice()
{
    FResumeCard = -1;
    if (lbResume)
        lbResume->hide();
}

void TForm1::ResumeLastCard()
{
    const int card = FResumeCard;
    if (card >= 0)
        FLesson->PlayCard(card);
}

}  // namespace olve
