#include "tools/output_guard.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace olve {

namespace fs = std::filesystem;

namespace {

using TFileIdentity = std::pair<dev_t, ino_t>;

// The file a path leads to, through symbolic links; none when there is nothing there.
std::optional<TFileIdentity> IdentityOf(const std::string& path)
{
    struct stat st{};
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return TFileIdentity{st.st_dev, st.st_ino};
}

bool Refuse(const std::string& output, const std::string& input)
{
    std::cerr << "olvetool: the output " << output << " is the input " << input
              << " (the same file, or a link to it); writing it would destroy it. Nothing was written; "
                 "name another output\n";
    return false;
}

}  // namespace

bool OutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs,
                        const std::vector<std::string>& inputFolders)
{
    const std::optional<TFileIdentity> target = IdentityOf(output);
    if (!target)
        return true;
    for (const std::string& input : inputs)
        if (IdentityOf(input) == target)
            return Refuse(output, input);
    for (const std::string& folder : inputFolders) {
        std::error_code ec;
        if (folder.empty())
            continue;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (IdentityOf(it->path().string()) == target)
                return Refuse(output, it->path().string());
    }
    return true;
}

}  // namespace olve
