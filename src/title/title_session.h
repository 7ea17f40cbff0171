#pragma once
#include <memory>
#include <string>

#include "codec/string_list.h"
#include "timing/media_time_formats.h"
#include "title/display_mode.h"
#include "title/play_package.h"
#include "title/time_format_change.h"

namespace olve {

// Why a title did not open.
enum class TTitleFailure {
    None,
    NoTitleFile,     // the installation wrote no ".qzc" file
    TitleNotLoaded,  // the title file is missing, is not BDC data, or its card times are damaged
    NoSerial,        // no "VolSerialNum", or an empty one
    NoVirtualCD,     // no "vcd.ini" with the title's code below "vcd", or none of its "files"
    NoRecording,     // the recording that "vcd.ini" names does not exist
    // A title that refers to the learner's recording where it is ("vcd.ini" has a
    // "recording" section) finds nothing there, or another file than it was made from.
    RecordingMoved,
    RecordingReplaced,
};

// A title opened without a window: everything the window needs to show and play it, or the
// reason it cannot be opened. The fields are filled as far as opening got; local paths are
// UTF-8 with "/".
struct TTitleSession {
    TTitleFailure Failure = TTitleFailure::None;
    // For the user (UTF-8, Japanese and English, naming the file at fault); empty when opened.
    std::string Reason;

    std::string TitleFile;
    // The title as read once, its cards in track milliseconds and their texts cut as
    // BoundCardText (title/card_text_bound.h) cuts them.
    std::unique_ptr<TPlayPackage> Package;
    std::string Serial;       // "VolSerialNum", code page 932
    std::string TitleName;    // for the caption: "VolFileTitle", else the title file's base name
    std::string VirtualCD;    // the "vcd.ini" of the title's code
    std::string MediaName;    // the recording as "vcd.ini" stores it, code page 932
    std::string MediaPath;    // the recording
    std::string TitleFolder;  // as TitleFolder (storage/title_paths.h) gives it: ends in "/"
    TTitleDisplay Display;

    bool Opened() const { return Failure == TTitleFailure::None; }
};

// Opens the title an installation wrote: the first of installed (local paths, in the order
// ExtractFileTrain lists them) that ends in ".qzc" in any letter case, so that a title placed
// below the package's header folder is found where it landed. programFolder is local, with or
// without a final "/"; packagePath only names the package in the reason. A title of audio CD
// times is converted to media file times where consent allows it; player (may be null) tells
// the media's time formats.
TTitleSession OpenInstalledTitle(const std::string& programFolder, const TStringList& installed,
                                 const std::string& packagePath, const TTimeFormatConsent& consent,
                                 const TMediaTimeFormats* player = nullptr);

// Opens a title file that is in place already: it is read once, its recording is found
// through the "vcd.ini" below the program's "vcd" folder (both in any letter case), and must
// exist; where that "vcd.ini" records the recording's identity, it must be the same recording.
TTitleSession OpenTitleFile(const std::string& programFolder, const std::string& titleFile, const TTimeFormatConsent& consent,
                            const TMediaTimeFormats* player = nullptr);

}  // namespace olve
