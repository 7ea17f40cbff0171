#include "files/staged_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace olve {

namespace {

std::string TemporaryNameBeside(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Long names are cut so that the temporary name still fits the file system's limit.
    return folder + "." + name.substr(0, 200) + "." + std::to_string(getpid()) + "." +
           std::to_string(std::random_device{}()) + ".part";
}

// Moves path along a chain of symbolic links to where it ends, which need not exist yet.
// False (errno ELOOP) for a chain that goes round or on too long.
bool FollowLinks(std::string& path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st{};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::error_code ec;
        const std::string link = std::filesystem::read_symlink(path, ec).string();
        if (ec || link.empty()) {
            errno = ec ? ec.value() : ENOENT;
            return false;
        }
        const std::size_t slash = path.rfind('/');
        path = link.front() == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    errno = ELOOP;
    return false;
}

bool IsDeviceOrPipe(mode_t mode)
{
    return S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode);
}

bool Replaceable(mode_t mode, TExistingTarget existing)
{
    return S_ISREG(mode) || (S_ISLNK(mode) && existing == TExistingTarget::ReplaceLinks);
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos;
}

// The writer's process id when name is a temporary of ours (".NAME.PID.RANDOM.part").
std::optional<pid_t> WriterOf(const std::string& name)
{
    const std::string suffix = ".part";
    if (name.size() < 2 + suffix.size() || name[0] != '.' ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    const std::string stem = name.substr(0, name.size() - suffix.size());
    const std::size_t randomDot = stem.rfind('.');
    if (randomDot == 0 || randomDot == std::string::npos || !AllDigits(stem.substr(randomDot + 1)))
        return std::nullopt;
    const std::size_t pidDot = stem.rfind('.', randomDot - 1);
    if (pidDot == 0 || pidDot == std::string::npos || !AllDigits(stem.substr(pidDot + 1, randomDot - pidDot - 1)))
        return std::nullopt;
    const long long pid = std::stoll(stem.substr(pidDot + 1, randomDot - pidDot - 1));
    if (pid <= 0 || pid > 0x7FFFFFFF)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

bool IsRunning(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

void RemoveStaleStagedFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* entry = readdir(dir)) {
        const std::optional<pid_t> writer = WriterOf(entry->d_name);
        if (!writer || IsRunning(*writer))
            continue;
        const std::string path = prefix + entry->d_name;
        struct stat st{};
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            unlink(path.c_str());
    }
    closedir(dir);
}

bool SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

bool TStagedFile::Open(const std::string& target, TExistingTarget existing)
{
    Discard();
    FExisting = existing;
    FTarget = target;
    if (existing == TExistingTarget::FollowLinks && !FollowLinks(FTarget))
        return false;
    struct stat st{};
    if (lstat(FTarget.c_str(), &st) != 0 || Replaceable(st.st_mode, existing))
        return OpenTemporary();
    if (existing == TExistingTarget::FollowLinks && IsDeviceOrPipe(st.st_mode))
        return OpenDirectly();
    errno = S_ISDIR(st.st_mode) ? EISDIR : EPERM;
    return false;
}

bool TStagedFile::MayReplaceTarget() const
{
    struct stat st{};
    return lstat(FTarget.c_str(), &st) != 0 || Replaceable(st.st_mode, FExisting);
}

// A pipe or device takes the data as it comes: there is nothing to rename it over.
bool TStagedFile::OpenDirectly()
{
    FFd = open(FTarget.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (FFd < 0)
        return false;
    struct stat st{};
    if (fstat(FFd, &st) == 0 && IsDeviceOrPipe(st.st_mode))
        return true;
    // Replaced by a file since it was looked at: that file is staged like any other.
    close(FFd);
    FFd = -1;
    return OpenTemporary();
}

bool TStagedFile::OpenTemporary()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        FTemporary = TemporaryNameBeside(FTarget);
        FFd = open(FTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FFd >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    FTemporary.clear();
    return false;
}

bool TStagedFile::Write(const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (FFd >= 0 && size > 0) {
        const ssize_t n = write(FFd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return FFd >= 0;
}

bool TStagedFile::Commit(std::optional<std::time_t> modified, bool sync)
{
    if (FFd < 0)
        return false;
    if (FTemporary.empty()) {
        const bool closed = close(FFd) == 0;
        FFd = -1;
        return closed;
    }
    struct stat old{};
    bool ok = true;
    if (stat(FTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ok = fchmod(FFd, old.st_mode & 07777) == 0;
    if (ok && modified) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {*modified, 0}};
        ok = futimens(FFd, times) == 0;
    }
    if (ok && sync)
        ok = fsync(FFd) == 0;
    ok = close(FFd) == 0 && ok;
    FFd = -1;
    // Something other than a file may have taken the target's place while this was written.
    if (ok && !MayReplaceTarget()) {
        errno = EPERM;
        ok = false;
    }
    if (ok && rename(FTemporary.c_str(), FTarget.c_str()) == 0) {
        FTemporary.clear();
        // The new name is an entry of the folder: without this a crash may bring the old one back.
        return !sync || SyncFolderOf(FTarget);
    }
    const int error = errno;
    Discard();
    errno = error;
    return false;
}

void TStagedFile::Discard()
{
    if (FFd >= 0)
        close(FFd);
    FFd = -1;
    if (!FTemporary.empty())
        unlink(FTemporary.c_str());
    FTemporary.clear();
}

}  // namespace olve
