#pragma once
#include <string>
#include <vector>

// A card of a generated title: texts in UTF-8 (stored as code page 932), times in ms.
struct TTestCard {
    std::string Main;
    std::string Sub;
    std::string Picture;
    std::string Data;
    int StartMs = 0;
    int EndMs = 0;
};

// What a generated title package holds.
struct TTestTitle {
    std::string Serial = "K100";
    std::string Name = "Test Lesson";
    std::vector<std::string> Settings;  // further "name=value" lines
    std::vector<TTestCard> Cards;
    // "tone.wav" (audio of MediaSeconds) or "clip.avi" (a 320 × 240 video); empty for none.
    std::string Media = "tone.wav";
    int MediaSeconds = 10;
    // The virtual CD names Media but the package leaves it out: a recording that is missing.
    bool LeaveOutMedia = false;
    // An existing media file put into the virtual CD as Media instead of a generated one.
    std::string MediaSource;
    bool WithVirtualCD = true;
    // Pictures drawn into the title's "pic" folder.
    std::vector<std::string> Pictures;
    // Folders packed as "VCD", "TITLES" and "PIC", as a file system that ignores letter case
    // lets a package name them, while the title and "vcd.ini" name them in small letters.
    bool CapitalFolders = false;
    // Further files (relative paths below the program folder) with a few bytes each.
    std::vector<std::string> ExtraFiles;
    // When set ("/"-separated), the package's header folder, which installing puts every
    // entry below: the virtual CD's files then lie at the top of the package, beside the
    // title, and "vcd.ini" still names the recording below "vcd".
    std::string VirtualCDHeader;
};

// Three cards of a second each, with pictures p1.png and p2.png.
TTestTitle ThreeCardTitle();

// A title whose media speaks the cards' main texts one after another, each followed by a
// short pause: spoken by espeak-ng when it can be run and tones is false, otherwise a tone
// of its own pitch per card, as long as the text would take to say. The media is written
// to mediaPath; the cards' times are set from the spoken lengths. spoken tells which it was.
TTestTitle SpokenTitle(const std::vector<TTestCard>& cards, const std::string& mediaPath, bool tones, bool& spoken);

// Writes the title file, the virtual CD with its media, the pictures and the extra files
// into a staging folder below folder, packs them, and returns the package's path.
std::string MakeTestPackage(const std::string& folder, const TTestTitle& title);
