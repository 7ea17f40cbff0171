#include "files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/staged_file.h"

namespace olve {

int WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    TStagedFile file;
    errno = 0;
    if (!file.Open(path, TExistingTarget::FollowLinks))
        return errno != 0 ? errno : EIO;
    if (file.Staged()) {
        const std::string& target = file.Target();
        const std::size_t slash = target.rfind('/');
        RemoveStaleStagedFiles(slash == std::string::npos ? std::string() : target.substr(0, slash + 1));
    }
    errno = 0;
    if (!file.Write(data, size) || !file.Commit(std::nullopt, true))
        return errno != 0 ? errno : EIO;
    return 0;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data)
{
    data.clear();
    // Without waiting: opening a pipe waits for a writer, and it is refused below anyway.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        data.insert(data.end(), buffer, buffer + n);
    }
    close(fd);
    return ok;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the flag: a hard link fails on an existing name as well.
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    return unlink(from.c_str()) == 0;
}

}  // namespace olve
