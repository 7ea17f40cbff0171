#pragma once
#include <string>

#include "title/play_package.h"

namespace olve {

// What a subtitle title shows. Texts are code page 932.
struct TTitleLook {
    std::string Name;
    std::string Code;
    bool HasSubTexts = false;
    bool HasPictures = false;
};

// Gives the package the settings the player reads: "VolFileTitle", the display settings
// (texts shown, the sub text only with a translation, pictures beside the text, underline
// on and the cursor off, the normal monitor style) and "VolSerialNum" last, and makes its
// time format milliseconds, which the title file records as "TimeFormat".
void SetTitleSettings(TPlayPackage& package, const TTitleLook& look);

}  // namespace olve
