// A title's progress and the learner's preferences for it, kept in the settings file: saved
// when the title is closed or replaced, restored when it opens, with a notice that offers to
// go on from the last card.
#include "app/main_window.h"

#include "app/resume_notice.h"
#include "media/wave_volume.h"
#include "title/title_progress.h"

namespace olve {

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
    FResume->Offer(progress.LastCard, FPackage->MainCards.Count());
    PlaceResumeNotice();
}

void TForm1::PlaceResumeNotice()
{
    if (FResume)
        FResume->Place(FMainView->geometry().bottom(), pnText->width());
}

void TForm1::ResumeLastCard()
{
    const int card = FResume->Card();
    if (card >= 0)
        FLesson->PlayCard(card);
}

}  // namespace olve
