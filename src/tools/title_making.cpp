#include "tools/title_making.h"

#include <filesystem>
#include <iostream>

#include "storage/cp932_text.h"
#include "tools/media_length.h"

namespace olve {

bool PrepareRecording(TSubtitleTitleRequest& request, TSpooledRecording& spooled)
{
    if (!SameAsciiIgnoringCase(std::filesystem::path(request.PackagePath).extension().string(), ".qzw"))
        std::cerr << "olvetool: note: the player opens packages named *.qzw\n";
    std::string error;
    if (!spooled.Spool(request.MediaPath, request.MediaPath, error)) {
        std::cerr << "olvetool: " << error << "\n";
        return false;
    }
    return MeasureMediaLength(request.MediaPath, request.MediaLengthMs);
}

bool MakeTitleSaying(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result)
{
    std::string error;
    const bool made = MakeSubtitleTitle(request, result, error);
    for (const std::string& note : result.Notes)
        std::cerr << "olvetool: note: " << note << "\n";
    if (!made)
        std::cerr << "olvetool: " << error << "\n";
    return made;
}

}  // namespace olve
