#pragma once
#include <string>

namespace olve {

// Searches Folder (a local path ending in "/") and all folders below it for a "vcd.ini"
// (any letter case) whose "code" equals Code (code page 932, compared ignoring ASCII case)
// and returns its full path, or an empty string. Each folder's entries are taken in name
// order, a subfolder being searched where it comes in that order, so the first match is the
// same on every file system. Unreadable folders and files that are not BDC text are passed
// over; a folder that is reached twice through symbolic links is searched once. An empty
// code matches nothing.
std::string FindVirtualCD(const std::string& code, const std::string& folder);

}  // namespace olve
