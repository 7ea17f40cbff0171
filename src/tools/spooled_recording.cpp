#include "tools/spooled_recording.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "files/abandoned_files.h"
#include "files/file_descriptor.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t ChunkSize = 1 << 20;

std::string SizeText(std::uint64_t bytes)
{
    return bytes < (1 << 20) ? std::to_string(bytes) + " bytes" : std::to_string(bytes >> 20) + " MB";
}

// What the temporary folder can take before it has less than SpoolRoomKept left.
std::uint64_t RoomIn(const fs::path& folder)
{
    struct statvfs info{};
    if (statvfs(folder.c_str(), &info) != 0)
        return UINT64_MAX;
    const std::uint64_t free = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return free > SpoolRoomKept ? free - SpoolRoomKept : 0;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Where the file system allows, the copy has no name of its own and goes with the process
// however it ends (a kill included), so no recording is ever left in the temporary folder.
int OpenCopy(const fs::path& folder, const fs::path& copy, bool& unnamed)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    unnamed = fd >= 0;
    return unnamed ? fd : ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

std::string WriteFailure(const std::string& path, const fs::path& copy, int error)
{
    return "cannot copy the recording " + path + " to " + copy.string() + ": " + std::strerror(error) +
           (error == ENOSPC || error == EDQUOT ? " (the temporary folder is full; set TMPDIR to a folder with more room)"
                                               : "");
}

}  // namespace

TSpooledRecording::~TSpooledRecording()
{
    if (FCopy >= 0)
        ::close(FCopy);
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
    if (!Copy(path, copy, error)) {
        fs::remove_all(FFolder, code);
        FFolder.clear();
        return false;
    }
    usable = copy.string();
    return true;
}

bool TSpooledRecording::Copy(const std::string& path, const fs::path& copy, std::string& error)
{
    bool unnamed = false;
    TFileDescriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    TFileDescriptor out(OpenCopy(FFolder, copy, unnamed));
    if (in.Get() < 0 || out.Get() < 0) {
        error = "cannot copy the recording " + path + " to " + copy.string() + ": " + std::strerror(errno);
        return false;
    }
    const std::uint64_t room = RoomIn(FFolder);
    const std::uint64_t limit = std::min(FLimit, room);
    std::vector<char> chunk(ChunkSize);
    for (std::uint64_t total = 0;;) {
        const ssize_t got = ::read(in.Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = "cannot read the recording " + path + ": " + std::strerror(errno);
            return false;
        }
        if (got == 0)
            break;
        total += static_cast<std::uint64_t>(got);
        if (total > limit) {
            error = "the recording read through " + path + " is larger than " + SizeText(limit) +
                    (limit == FLimit ? ", the most a package can hold; stopped copying it"
                                     : ", what the temporary folder " + FFolder.parent_path().string() +
                                           " can take with " + SizeText(SpoolRoomKept) +
                                           " left free; stopped copying it (set TMPDIR to a folder with more room)");
            return false;
        }
        if (!WriteAll(out.Get(), chunk.data(), static_cast<std::size_t>(got))) {
            error = WriteFailure(path, copy, errno);
            return false;
        }
    }
    if (unnamed) {
        // Named by a link to the open copy, which stays open as long as this object.
        std::error_code linked;
        fs::create_symlink("/proc/self/fd/" + std::to_string(out.Get()), copy, linked);
        if (linked) {
            error = "cannot name the copy of the recording " + copy.string() + ": " + linked.message();
            return false;
        }
        FCopy = out.Release();
        return true;
    }
    if (const int closed = out.Close(); closed != 0) {
        error = WriteFailure(path, copy, closed);
        return false;
    }
    return true;
}

}  // namespace olve
