#include "titlemaker/cue_pictures.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "codec/cp932_text.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

bool IsPictureExtension(const std::string& extension)
{
    static const std::set<std::string> known = {".jpg", ".jpeg", ".png", ".gif", ".bmp", ".ico"};
    return known.count(LowerAscii(extension)) > 0;
}

// The number a stem of decimal digits stands for; -1 for any other stem.
int NumberOf(const std::string& stem)
{
    if (stem.empty() || stem.size() > 9 || !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(stem);
}

}  // namespace

bool FindCuePictures(const std::string& folder, std::map<int, std::string>& pictures,
                     std::vector<std::string>& notes, std::string& error)
{
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        if (it->is_regular_file(statError) && IsPictureExtension(it->path().extension().string()))
            files.push_back(it->path());
    }
    if (ec) {
        error = "cannot list the pictures folder " + folder + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const int number = NumberOf(file.stem().string());
        if (number < 0)
            continue;
        if (!pictures.emplace(number, file.string()).second)
            notes.push_back("pictures: " + file.filename().string() + " has the number of " +
                            fs::path(pictures[number]).filename().string() + "; not used");
    }
    return true;
}

}  // namespace olve
