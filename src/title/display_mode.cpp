#include "title/display_mode.h"

#include "places/settings_vocabulary.h"

namespace olve {

TTitleDisplay ReadTitleDisplay(const TPlayPackage& title)
{
    TTitleDisplay display;
    display.StandardIndent = title.GetSetting(MainTextIndentKey) == OlveIndentWord;
    display.ShowCursor = title.GetSetting(CursorShownKey) != OffWord;
    display.ShowUnderline = title.GetSetting(UnderlineShownKey) != OffWord;
    display.ShowTextPane = !(title.GetSetting(MainTextShownKey) == OffWord && title.GetSetting(SubTextShownKey) == OffWord);
    display.ListStyle = title.GetSetting(MonitorStyleKey) == ListMonitorStyleWord;
    const std::string align = title.GetSetting(PictureAlignmentKey);
    display.PictureAcross = align == TopAlignmentWord || align == BottomAlignmentWord;
    return display;
}

TDisplayMode ChooseDisplayMode(bool video, bool pictures, const TTitleDisplay& display)
{
    if (video)
        return display.ListStyle ? TDisplayMode::ListPic : TDisplayMode::Subtitles;
    if (pictures) {
        if (display.ListStyle)
            return TDisplayMode::ListPic;
        return display.PictureAcross ? TDisplayMode::PictureCard : TDisplayMode::PictureBook;
    }
    return display.ListStyle ? TDisplayMode::List : TDisplayMode::System;
}

}  // namespace olve
