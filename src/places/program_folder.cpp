#include "places/program_folder.h"

#include <filesystem>
#include <system_error>

namespace olve {

std::string ProgramDir()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string ProgramFolder()
{
    const std::string dir = ProgramDir();
    return dir.ends_with('/') ? dir : dir + "/";
}

}  // namespace olve
