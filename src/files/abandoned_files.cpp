#include "files/abandoned_files.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "files/atomic_file.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

const char* const OwnerName = ".owner";
const char* const ListPrefix = ".installed.";
// A list names the files of a few titles; anything larger was not written by the player.
constexpr off_t ListLimit = 16 * 1024 * 1024;

bool Lstat(const fs::path& path, struct stat& st)
{
    return lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid();
}

bool OwnedFolder(const fs::path& path)
{
    struct stat st{};
    return Lstat(path, st) && S_ISDIR(st.st_mode);
}

// The text of a regular file of this user's, read when it is no larger than limit.
bool ReadOwnedFile(const fs::path& path, off_t limit, std::string& text)
{
    struct stat st{};
    std::vector<std::uint8_t> data;
    if (!Lstat(path, st) || !S_ISREG(st.st_mode) || st.st_size > limit || !ReadWholeFile(path, data))
        return false;
    text.assign(data.begin(), data.end());
    return true;
}

bool ParsePid(std::string_view text, long& pid)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    return error == std::errc() && end == text.data() + text.size() && pid > 0;
}

bool Abandoned(std::string_view pidText)
{
    long pid = 0;
    return ParsePid(pidText, pid) && !ProcessRunning(pid);
}

// True when path lies below folder with only real folders on the way and is a regular file
// of this user's with the size and time it had when listed.
bool StillAsWritten(const fs::path& folder, const fs::path& path, off_t size, long long mtimeNs)
{
    const fs::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    if (relative.empty() || *relative.begin() == ".." || relative.is_absolute())
        return false;
    fs::path at = folder;
    for (auto part = relative.begin(); part != relative.end(); ++part) {
        at /= *part;
        struct stat st{};
        if (!Lstat(at, st))
            return false;
        if (std::next(part) != relative.end()) {
            if (!S_ISDIR(st.st_mode))
                return false;
            continue;
        }
        return S_ISREG(st.st_mode) && st.st_size == size &&
               st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec == mtimeNs;
    }
    return false;
}

void RemoveEmptyFolders(const fs::path& folder, fs::path at)
{
    const fs::path root = folder.lexically_normal();
    for (at = at.lexically_normal(); at != root && at.string().starts_with(root.string() + "/"); at = at.parent_path())
        if (rmdir(at.c_str()) != 0)
            break;
}

void RemoveListedFiles(const fs::path& folder, const std::string& list, std::vector<std::string>& removed)
{
    std::istringstream lines(list);
    off_t size = 0;
    long long mtimeNs = 0;
    std::string path;
    while (lines >> size >> mtimeNs && lines.get() == ' ' && std::getline(lines, path)) {
        if (StillAsWritten(folder, path, size, mtimeNs) && unlink(path.c_str()) == 0) {
            removed.push_back(path);
            RemoveEmptyFolders(folder, fs::path(path).parent_path());
        }
    }
}

}  // namespace

bool ProcessRunning(long pid)
{
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool MarkFolderOwned(const std::string& folder)
{
    const std::string pid = std::to_string(getpid()) + "\n";
    return WriteFileAtomically(folder + "/" + OwnerName, reinterpret_cast<const std::uint8_t*>(pid.data()), pid.size()) == 0;
}

std::vector<std::string> RemoveAbandonedFolders(const std::string& parent, const std::string& prefix)
{
    std::vector<std::string> removed;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(parent, ec)) {
        const fs::path path = entry.path();
        std::string owner;
        if (!path.filename().string().starts_with(prefix) || !OwnedFolder(path) ||
            !ReadOwnedFile(path / OwnerName, 64, owner) || !Abandoned(owner))
            continue;
        // Links inside are removed as links: nothing outside the folder is touched.
        if (fs::remove_all(path, ec) != static_cast<std::uintmax_t>(-1) && !ec)
            removed.push_back(path.string());
    }
    return removed;
}

TInstalledList::TInstalledList(std::string folder)
    : FFolder(std::move(folder)), FPath(FFolder + "/" + ListPrefix + std::to_string(getpid()))
{
}

void TInstalledList::Write(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& file : files) {
        struct stat st{};
        // A name with a line break cannot be listed: such a file stays, as it did before.
        if (file.find('\n') == std::string::npos && lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            list += std::to_string(st.st_size) + " " +
                    std::to_string(st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec) + " " + file + "\n";
    }
    struct stat st{};
    // Only a list of this process's own is replaced, never what another put under its name.
    if (lstat(FPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return;
    if (list.empty())
        unlink(FPath.c_str());
    else
        WriteFileAtomically(FPath, reinterpret_cast<const std::uint8_t*>(list.data()), list.size());
}

std::vector<std::string> RemoveAbandonedInstallations(const std::string& folder)
{
    std::vector<std::string> removed;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        std::string list;
        if (!name.starts_with(ListPrefix) || !Abandoned(name.substr(std::string(ListPrefix).size())) ||
            !ReadOwnedFile(entry.path(), ListLimit, list))
            continue;
        RemoveListedFiles(folder, list, removed);
        unlink(entry.path().c_str());
    }
    return removed;
}

}  // namespace olve
