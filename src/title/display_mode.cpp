#include "title/display_mode.h"

namespace olve {

TTitleDisplay ReadTitleDisplay(const TPlayPackage& title)
{
    TTitleDisplay display;
    display.StandardIndent = title.GetSetting("MTxInd") == "itOlve";
    display.ShowCursor = title.GetSetting("CsrShw") != "Off";
    display.ShowUnderline = title.GetSetting("UlnShw") != "Off";
    display.ShowTextPane = !(title.GetSetting("MTxShw") == "Off" && title.GetSetting("STxShw") == "Off");
    display.ListStyle = title.GetSetting("MonSty") == "msList";
    const std::string align = title.GetSetting("ImgAln");
    display.PictureAcross = align == "alTop" || align == "alBottom";
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
