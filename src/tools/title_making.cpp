#include "tools/title_making.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "codec/cp932_text.h"
#include "tools/media_length.h"
#include "tools/output_guard.h"

namespace olve {

bool PrepareRecording(TSubtitleTitleRequest& request, TSpooledRecording& spooled)
{
    if (!OutputSparesInputs(request.PackagePath, {request.MediaPath, request.SubtitlePath, request.TranslationPath},
                            {request.PicturesFolder}))
        return false;
    if (!SameAsciiIgnoringCase(std::filesystem::path(request.PackagePath).extension().string(), ".qzw"))
        std::cerr << "olvetool: note: the player opens packages named *.qzw\n";
    std::string error;
    if (!spooled.Spool(request.MediaPath, request.MediaPath, error)) {
        std::cerr << "olvetool: " << error << "\n";
        return false;
    }
    return MeasureMediaLength(request.MediaPath, request.MediaLengthMs);
}

void PrintNotes(const std::vector<std::string>& notes)
{
    for (std::size_t k = 0; k < std::min(notes.size(), ShownNotes); ++k)
        std::cerr << "olvetool: note: " << notes[k] << "\n";
    if (notes.size() > ShownNotes)
        std::cerr << "olvetool: note: and " << notes.size() - ShownNotes << " more notes\n";
}

bool MakeTitleSaying(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result,
                     const TAlignProgress& progress)
{
    std::string error;
    const bool made = MakeSubtitleTitle(request, result, error, nullptr, progress);
    PrintNotes(result.Notes);
    if (!made)
        std::cerr << "olvetool: " << error << "\n";
    return made;
}

}  // namespace olve
