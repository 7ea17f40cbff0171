#pragma once
#include <string>
#include <vector>

#include "titlemaker/subtitle_title.h"

namespace olve {

// The arguments of the commands that make titles: MEDIA TEXT, then --translation, --title,
// --code, --layout, --sentences and -o (or --output), and --pictures where pictures are taken. False for
// anything else, a missing value, a layout without a name, or no package to write.
bool ReadTitleArguments(const std::vector<std::string>& args, bool takesPictures, TSubtitleTitleRequest& request);

}  // namespace olve
