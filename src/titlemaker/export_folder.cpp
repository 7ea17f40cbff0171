#include "titlemaker/export_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "files/atomic_file.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

// More names than an export ever needs for one card; a bound so that a folder full of
// names cannot keep the export looking for ever.
constexpr int MaxNameTries = 1000;

// ".olve-export-PID-RANDOM": the writer's process in the name tells when it is left behind.
constexpr const char* TemporaryPrefix = ".olve-export-";

// The writer's process id when name is a temporary of ours; 0 otherwise.
pid_t WriterOf(const std::string& name)
{
    const std::string prefix = TemporaryPrefix;
    const std::size_t dash = name.rfind('-');
    if (!name.starts_with(prefix) || dash <= prefix.size() || name.size() - dash - 1 != 8 ||
        name.find_first_not_of("0123456789abcdef", dash + 1) != std::string::npos)
        return 0;
    const std::string pid = name.substr(prefix.size(), dash - prefix.size());
    if (pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(pid));
}

// Temporaries that an export killed on its way left in the folder.
void RemoveLeftTemporaries(const std::string& folder)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const pid_t writer = WriterOf(entry.path().filename().string());
        if (writer > 0 && kill(writer, 0) != 0 && errno == ESRCH && entry.is_regular_file(error) &&
            !entry.is_symlink(error))
            fs::remove(entry.path(), error);
    }
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TExportFolder::TExportFolder(std::string folder) : FFolder(std::move(folder))
{
    while (FFolder.size() > 1 && FFolder.back() == '/')
        FFolder.pop_back();
    std::error_code ignored;
    fs::create_directories(FFolder, ignored);
    RemoveLeftTemporaries(FFolder);
}

std::string TExportFolder::NewTemporary(std::string& error) const
{
    // Made with the learner's file mode mask applied, as every other file they make.
    std::random_device random;
    for (int n = 0; n < MaxNameTries; ++n) {
        char name[48];
        std::snprintf(name, sizeof name, "/%s%d-%08x", TemporaryPrefix, static_cast<int>(getpid()),
                      static_cast<unsigned>(random()));
        const std::string path = FFolder + name;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return path;
        }
        if (errno != EEXIST)
            break;
    }
    error = FFolder + ": " + std::strerror(errno);
    return {};
}

std::string TExportFolder::Publish(const std::string& temporary, const std::string& stem, const std::string& ext,
                                   std::string& error) const
{
    for (int n = 1; n <= MaxNameTries; ++n) {
        const std::string name = stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ext;
        if (RenameWithoutReplacing(temporary, FFolder + "/" + name))
            return name;
        if (errno != EEXIST) {
            error = FFolder + "/" + name + ": " + std::strerror(errno);
            break;
        }
    }
    if (error.empty())
        error = FFolder + ": no free name for " + stem + ext;
    std::remove(temporary.c_str());
    return {};
}

std::string TExportFolder::CopyIn(const std::string& path, const std::string& stem, const std::string& ext,
                                  std::string& error) const
{
    const std::string temporary = NewTemporary(error);
    if (temporary.empty())
        return {};
    std::error_code copied;
    fs::copy_file(path, temporary, fs::copy_options::overwrite_existing, copied);
    if (copied) {
        error = path + ": " + copied.message();
        std::remove(temporary.c_str());
        return {};
    }
    return Publish(temporary, stem, ext, error);
}

bool TExportFolder::AppendToCardsTsv(const std::string& text, std::string& error) const
{
    const std::string path = CardsTsvPath();
    // Not blocking: a pipe in its place must not hold the export up.
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + (errno == ELOOP ? std::string(": a link, which is not followed")
                                       : ": " + std::string(std::strerror(errno)));
        return false;
    }
    struct stat st{};
    bool written = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1;
    if (!written)
        error = path + ": not a file of its own";
    else if (!(written = WriteAll(fd, text)))
        error = path + ": " + std::strerror(errno);
    if (close(fd) != 0 && written) {
        error = path + ": " + std::strerror(errno);
        written = false;
    }
    return written;
}

}  // namespace olve
