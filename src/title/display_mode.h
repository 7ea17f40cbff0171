#pragma once

#include "title/play_package.h"

namespace olve {

// The six arrangements of the main window's picture pane and text pane; the values are the
// ones the window keeps and its settings file is sectioned by.
enum class TDisplayMode {
    System = 0,       // text views alone: no title, or one with neither pictures nor video
    PictureBook = 1,  // picture left of the text views
    Subtitles = 2,    // video or picture above the text views
    PictureCard = 3,  // picture above the text views, in a smaller window
    List = 4,         // the card grid alone
    ListPic = 5,      // the card grid with the picture or video left of it
};

// What a title's settings ask of the window.
struct TTitleDisplay {
    bool StandardIndent = false;  // "MTxInd" is "itOlve": the main text takes the standard indent
    bool ShowCursor = true;       // "CsrShw" is not "Off"
    bool ShowUnderline = true;    // "UlnShw" is not "Off"
    bool ShowTextPane = true;     // not both "MTxShw" and "STxShw" are "Off"
    bool ListStyle = false;       // "MonSty" is "msList"
    bool PictureAcross = false;   // "ImgAln" is "alTop" or "alBottom"
};

TTitleDisplay ReadTitleDisplay(const TPlayPackage& title);

// The mode a title opens in. video: the recording is a video; pictures: some card's picture
// file exists. Both are the window's to find out.
TDisplayMode ChooseDisplayMode(bool video, bool pictures, const TTitleDisplay& display);

}  // namespace olve
