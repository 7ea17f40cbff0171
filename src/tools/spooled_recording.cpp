#include "tools/spooled_recording.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "storage/abandoned_files.h"

namespace olve {

namespace fs = std::filesystem;

TSpooledRecording::~TSpooledRecording()
{
    std::error_code ignored;
    if (!FFolder.empty())
        fs::remove_all(FFolder, ignored);
}

bool TSpooledRecording::Spool(const std::string& path, std::string& usable, std::string& error)
{
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (!fs::exists(status)) {
        error = "cannot find the recording " + path;
        return false;
    }
    if (fs::is_regular_file(status)) {
        usable = path;
        return true;
    }
    if (fs::is_directory(status)) {
        error = "the recording " + path + " is a folder";
        return false;
    }
    // Copies of runs that were killed go first.
    RemoveAbandonedFolders(fs::temp_directory_path(code).string(), "olvetool-");
    std::string pattern = (fs::temp_directory_path(code) / "olvetool-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a folder to copy the recording " + path + " into: " + std::strerror(errno);
        return false;
    }
    FFolder = pattern;
    MarkFolderOwned(FFolder);
    const std::string name = fs::path(path).filename().string();
    const fs::path copy = FFolder / (name.empty() ? "recording" : name);
    std::ifstream in(path, std::ios::binary);
    std::ofstream out(copy, std::ios::binary);
    if (!in || !(out << in.rdbuf()) || !out.flush()) {
        error = "cannot copy the recording " + path + " to " + copy.string();
        return false;
    }
    usable = copy.string();
    return true;
}

}  // namespace olve
