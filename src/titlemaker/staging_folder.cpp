#include "titlemaker/staging_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/abandoned_files.h"

namespace olve {

namespace fs = std::filesystem;

TStagingFolder::~TStagingFolder()
{
    if (FRoot.empty())
        return;
    std::error_code ec;
    fs::remove_all(FRoot, ec);
}

bool TStagingFolder::Create(std::string& error)
{
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    const fs::path parent = ec ? fs::path("/tmp") : temp;
    // Folders of runs that were killed go first; their links to recordings go as links.
    RemoveAbandonedFolders(parent.string(), "olve-title-");
    std::string pattern = (parent / "olve-title-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a temporary folder in " + fs::path(pattern).parent_path().string();
        return false;
    }
    FRoot = pattern;
    MarkFolderOwned(FRoot);
    FPath = FRoot + "/package";
    if (!fs::create_directory(FPath, ec)) {
        error = "cannot make a folder in " + FRoot + ": " + ec.message();
        return false;
    }
    return true;
}

bool StageFile(const std::string& source, const std::string& target, std::string& error)
{
    std::error_code ec;
    fs::create_directories(fs::path(target).parent_path(), ec);
    const fs::path absolute = fs::absolute(source, ec);
    if (!ec) {
        fs::create_symlink(absolute, target, ec);
        if (!ec)
            return true;
    }
    ec.clear();
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        error = "cannot copy " + source + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace olve
