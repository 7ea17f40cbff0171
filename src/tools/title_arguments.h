#pragma once
#include <string>
#include <vector>

#include "titlemaker/subtitle_title.h"

namespace olve {

// The arguments of the commands that make titles: MEDIA TEXT, then --translation, --title,
// --code, --layout, --sentences and -o (or --output), and, from subtitles, --pictures and
// --no-sync. False for anything else, a missing value, a layout without a name, or no package
// to write.
bool ReadTitleArguments(const std::vector<std::string>& args, bool fromSubtitles, TSubtitleTitleRequest& request);

}  // namespace olve
