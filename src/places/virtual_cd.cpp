#include "places/virtual_cd.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <utility>
#include <vector>

#include "codec/compress_string_list.h"
#include "codec/cp932_text.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

std::string CodeOf(const std::string& iniPath)
{
    TCompressStringList lines;
    // A "vcd.ini" that cannot be read has no code, so it is simply not the one looked for.
    if (lines.LoadFromFile(iniPath))
        return std::string();
    for (const std::string& line : lines.Lines()) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && SameTextIgnoringCase(line.substr(0, eq), "code"))
            return line.substr(eq + 1);
    }
    return std::string();
}

std::vector<fs::directory_entry> SortedListing(const std::string& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().string() < b.path().filename().string();
    });
    return entries;
}

class TVirtualCDSearch {
public:
    explicit TVirtualCDSearch(const std::string& code) : FCode(code) {}

    std::string Search(const std::string& folder)
    {
        struct stat st{};
        if (stat(folder.c_str(), &st) != 0 || !FVisited.insert({st.st_dev, st.st_ino}).second)
            return std::string();
        for (const fs::directory_entry& entry : SortedListing(folder)) {
            std::error_code ec;
            const std::string name = entry.path().filename().string();
            if (entry.is_directory(ec)) {
                std::string found = Search(folder + name + "/");
                if (!found.empty())
                    return found;
            } else if (SameAsciiIgnoringCase(name, "vcd.ini") && SameTextIgnoringCase(CodeOf(folder + name), FCode)) {
                return folder + name;
            }
        }
        return std::string();
    }

private:
    std::string FCode;
    std::set<std::pair<dev_t, ino_t>> FVisited;
};

}  // namespace

std::string FindVirtualCD(const std::string& code, const std::string& folder)
{
    if (code.empty())
        return std::string();
    const std::string start = folder.empty() || folder.ends_with('/') ? folder : folder + "/";
    return TVirtualCDSearch(code).Search(start);
}

}  // namespace olve
