#pragma once
#include <string>

namespace olve {

// The file of a card's picture that may be read on the learner's behalf: one inside the
// installed title's own folder (its "pic" folder first, names stored with "\" and in any letter
// case), whose real path, links followed, stays inside that folder, and whose extension is
// one of a picture the player shows. titleFolder ends in "/"; empty or "/" for a title without
// a folder of its own. Empty, with the reason, when there is no such file.
std::string TitlePicture(const std::string& titleFolder, const std::string& stored, std::string& reason);

// The picture's extension in small letters, with its dot (".png"); empty when it is not
// one of a picture the player shows.
std::string PictureExtension(const std::string& name);

}  // namespace olve
