#include "title/picture_place.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "codec/cp932_text.h"
#include "places/letter_case_path.h"

namespace olve {

std::string FindCardPicture(const std::string& name, const std::string& titleFolder, const std::string& programFolder)
{
    if (name.empty())
        return {};
    std::string local = Cp932ToUtf8(name);
    std::replace(local.begin(), local.end(), '\\', '/');
    std::vector<std::string> places = {local};
    if (!titleFolder.empty() && titleFolder != "/")
        places.insert(places.end(), {titleFolder + "pic/" + local, titleFolder + local});
    for (const std::string& place : places) {
        const std::string path = std::filesystem::path(place).is_relative() ? programFolder + "/" + place : place;
        // Stored names come from a file system that ignores letter case.
        const std::string found = ExistingPathIgnoringCase(path);
        std::error_code error;
        if (!found.empty() && std::filesystem::is_regular_file(found, error))
            return found;
    }
    return {};
}

bool CardsHavePictures(const TUndoPlayCardList& cards, const std::string& titleFolder, const std::string& programFolder)
{
    for (int i = 0; i < cards.Count(); ++i)
        if (!FindCardPicture(cards.Card(i).Picture, titleFolder, programFolder).empty())
            return true;
    return false;
}

}  // namespace olve
