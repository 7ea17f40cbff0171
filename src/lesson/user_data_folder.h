#pragma once
#include <string>

namespace olve {

// Where the user's own data lives (titles made from their material, the desktop's file-type
// entries): $XDG_DATA_HOME when it is an absolute path, otherwise ~/.local/share.
std::string UserDataFolder();

}  // namespace olve
