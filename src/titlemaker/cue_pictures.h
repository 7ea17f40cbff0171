#pragma once
#include <map>
#include <string>
#include <vector>

namespace olve {

// The pictures of a folder that are named after cue numbers ("7.png", "007.jpg"), by
// number, as local paths; only the picture types the player shows (jpg, jpeg, png, gif,
// bmp, ico) count. When two files give one number, the first in name order is taken and
// the other noted. False with a reason when the folder cannot be listed.
bool FindCuePictures(const std::string& folder, std::map<int, std::string>& pictures,
                     std::vector<std::string>& notes, std::string& error);

}  // namespace olve
