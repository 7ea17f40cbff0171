// A title's progress and the learner's preferences for it, kept in the settings file: saved
// when the title is closed or replaced, restored when it opens, with a notice that offers to
// go on from the last card.
#include "app/main_window.h"

#include "app/text_pane.h"
#include "media/wave_volume.h"
#include "title/title_progress.h"

namespace olve {

void TForm1::SaveProgress()
{
    TTitleProgress progress = FLesson->SavedProgress();
    progress.MainFontSize = FTextPane->MainFontSize();
    progress.SubFontSize = FTextPane->SubFontSize();
    FStore->SaveSitting(GetWaveVolume(*FPlayer), FSerial, progress);
}

// Called once the title shows and plays from the top: its own preferences take over, and a
// last card past the first is offered.
void TForm1::RestoreProgress()
{
    const TTitleProgress progress = FStore->Progress(FSerial);
    FLesson->RestoreProgress(progress);
    FTextPane->RestoreFontSizes(progress.MainFontSize, progress.SubFontSize);
    FTextPane->OfferResume(progress.LastCard, FPackage->MainCards.Count());
}

}  // namespace olve
