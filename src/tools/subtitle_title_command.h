#pragma once
#include <string>
#include <vector>

namespace olve {

// "title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR] [--title NAME]
// [--code CODE] -o PKG" (the arguments after "from-subtitles"): exit status.
int RunSubtitleTitleCommand(const std::vector<std::string>& args);

}  // namespace olve
