#include "storage/staged_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

}  // namespace

bool TStagedFile::Open(const std::string& target)
{
    Discard();
    FTarget = target;
    for (int attempt = 0; attempt < 100; ++attempt) {
        FTemporary = TemporaryNameBeside(target);
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
    if (ok && rename(FTemporary.c_str(), FTarget.c_str()) == 0) {
        FTemporary.clear();
        return true;
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
