#include "titlemaker/staging_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace olve {

namespace fs = std::filesystem;

TStagingFolder::~TStagingFolder()
{
    if (FPath.empty())
        return;
    std::error_code ec;
    fs::remove_all(FPath, ec);
}

bool TStagingFolder::Create(std::string& error)
{
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    std::string pattern = ((ec ? fs::path("/tmp") : temp) / "olve-title-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a temporary folder in " + fs::path(pattern).parent_path().string();
        return false;
    }
    FPath = pattern;
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
