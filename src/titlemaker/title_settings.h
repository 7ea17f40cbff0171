#pragma once
#include <string>

#include "title/play_package.h"

namespace olve {

// The screen layouts a made title can ask for. A video always shows above the text (or
// beside the card list).
enum class TTitleLayout {
    Beside,  // pictures beside the text
    Above,   // pictures above the text
    List,    // the card list, with the pictures beside it
    Text,    // the text alone: pictures are left out
};

// "beside", "above", "list", "text"; false for another name.
bool TitleLayoutOf(const std::string& name, TTitleLayout& layout);

// A text given by the user or the material (a title name, a user name) as it can stand in one
// "name=value" line of a title file: every run of control characters (line breaks, tabs,
// escapes) becomes one space, none at either end, so that no text adds lines or settings of
// its own. Changed tells whether anything was replaced.
std::string OneLineValue(const std::string& text, bool& changed);

// What a subtitle title shows. Texts are code page 932.
struct TTitleLook {
    std::string Name;
    std::string Code;
    bool HasSubTexts = false;
    bool HasPictures = false;
    TTitleLayout Layout = TTitleLayout::Beside;
};

// Gives the package the settings the player reads: "VolFileTitle", the display settings
// (texts shown, the sub text only with a translation, pictures placed and the monitor
// style chosen by the layout, underline on and the cursor off) and "VolSerialNum" last, and makes its
// time format milliseconds, which the title file records as "TimeFormat".
void SetTitleSettings(TPlayPackage& package, const TTitleLook& look);

}  // namespace olve
