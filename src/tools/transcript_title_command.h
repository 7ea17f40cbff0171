#pragma once
#include <string>
#include <vector>

namespace olve {

// "title from-transcript MEDIA TEXT [--translation TEXT2] [--title NAME] [--code CODE] -o PKG"
// (the arguments after "from-transcript"): exit status.
int RunTranscriptTitleCommand(const std::vector<std::string>& args);

}  // namespace olve
