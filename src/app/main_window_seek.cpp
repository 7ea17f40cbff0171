// Where the play is, as the tool bar shows it: the progress bar, which seeks when clicked,
// the card counter and the time.
#include "app/main_window.h"
#include "app/place_labels.h"
#include "app/tool_bar_widgets.h"
#include "timing/place_text.h"
#include "title/card_seek.h"

namespace olve {

void TForm1::CreatePlaceLabels()
{
    FPlace = std::make_unique<TPlaceLabels>(pnToolBar);
    imPlayer->OnSeek = [this](int x) {
        if (FLesson->CanPlay())
            FLesson->SeekTo(PositionAtX(x, imPlayer->width(), Player().Length()));
    };
}

void TForm1::ShowPlace(std::int64_t position)
{
    const std::int64_t length = Player().DeviceID() != 0 ? Player().Length() : 0;
    const bool time = TPlaceLabels::Show(FPlace->Time(), length > 0 ? PlaceTimeText(position, length) : std::string());
    if (ShowCounter() || time)
        FitPlaceLabels();
}

void TForm1::FitPlaceLabels()
{
    if (FPlace->Fit())
        LayOutToolBar();
}

bool TForm1::ShowCounter()
{
    const int count = FPackage ? FPackage->MainCards.Count() : 0;
    return TPlaceLabels::Show(FPlace->Counter(),
                              Player().DeviceID() != 0 ? CardCounterText(FLesson->CurrentCard(), count) : std::string());
}

}  // namespace olve
