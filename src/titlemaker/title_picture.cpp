#include "titlemaker/title_picture.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "places/letter_case_path.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

bool IsInside(const fs::path& path, const fs::path& root)
{
    const fs::path relative = path.lexically_relative(root);
    return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

}  // namespace

std::string PictureExtension(const std::string& name)
{
    std::string ext = fs::path(name).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* known : {".jpg", ".jpeg", ".png", ".gif", ".bmp", ".ico"})
        if (ext == known)
            return ext;
    return {};
}

std::string TitlePicture(const std::string& titleFolder, const std::string& stored, std::string& reason)
{
    std::string name = stored;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (titleFolder.empty() || titleFolder == "/") {
        reason = "the picture " + name + " is not read: the title has no folder of its own";
        return {};
    }
    if (PictureExtension(name).empty()) {
        reason = "the picture " + name + " is not read: it is not a picture the player shows";
        return {};
    }
    reason = "the picture " + name + " is not in the title's folder";
    std::error_code error;
    const fs::path root = fs::canonical(titleFolder, error);
    if (error || name.empty() || name.front() == '/')
        return {};
    for (const std::string& place : {titleFolder + "pic/" + name, titleFolder + name}) {
        const std::string found = ExistingPathIgnoringCase(place);
        const fs::path real = found.empty() ? fs::path() : fs::canonical(found, error);
        if (!real.empty() && !error && IsInside(real, root) && fs::is_regular_file(real, error)) {
            reason.clear();
            return real.string();
        }
    }
    return {};
}

}  // namespace olve
