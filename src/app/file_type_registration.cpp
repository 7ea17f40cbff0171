
#include "app/file_type_registration.h"
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "app/startup_check.h"
#include "files/atomic_file.h"
#include "codec/cp932_text.h"
#include "title/file_type.h"

extern char** environ;

namespace olve {

namespace fs = std::filesystem;

namespace {

bool ValidExtension(const std::string& extension)
{
    if (extension.size() < 2 || extension[0] != '.')
        return false;
    for (std::size_t i = 1; i < extension.size(); ++i) {
        const char c = extension[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

std::string XmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// A desktop entry string value: backslashes doubled, as the format reads them.
std::string DesktopString(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// The program as the first word of an Exec line: quoted when it holds a reserved character,
// with the characters that quoting does not protect escaped; "%" doubled.
std::string ExecProgram(const std::string& path)
{
    const bool quote = path.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out = quote ? "\"" : "";
    for (char c : path) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return DesktopString(quote ? out + "\"" : out);
}

std::string MimePackage(const std::string& type, const std::string& name, const std::string& extension)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" + type + "\">\n"
           "    <comment>" + XmlEscaped(name) + " file</comment>\n"
           "    <comment xml:lang=\"ja\">" + XmlEscaped(name) + "ﾌｧｲﾙ</comment>\n"
           "    <glob pattern=\"*" + LowerAscii(extension) + "\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

// The recordings and subtitles the player makes titles of, so that a file manager offers it
// to open them.
const char* const MaterialTypes =
    "audio/mpeg;audio/x-wav;audio/ogg;audio/x-vorbis+ogg;audio/x-opus+ogg;audio/mp4;audio/aac;audio/flac;"
    "audio/x-ms-wma;video/mp4;video/x-m4v;video/x-matroska;video/webm;video/x-msvideo;video/quicktime;"
    "video/x-ms-wmv;video/mpeg;video/mp2t;video/3gpp;video/x-flv;application/x-subrip;text/vtt;application/x-lrc;";

std::string DesktopEntry(const std::string& type, const std::string& name, const std::string& exePath)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + DesktopString(ApplicationTitle) + "\n"
           "Comment=Opens " + DesktopString(name) + " files\n"
           "Comment[ja]=" + DesktopString(name) + "ﾌｧｲﾙを開きます\n"
           "Exec=" + ExecProgram(exePath) + " %f\n"
           "MimeType=" + type + ";" + MaterialTypes + "\n"
           "NoDisplay=true\n"
           "Terminal=false\n";
}

// The full path of a program found on PATH, or empty.
std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

// Runs a program with one argument, its output discarded; true when it exits with 0.
bool RunQuietly(const std::string& program, const std::string& argument)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()), nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct TCacheUpdater {
    const char* Program;
    const char* Folder;
};
constexpr TCacheUpdater CacheUpdaters[] = {
    {"update-mime-database", "mime"},
    {"update-desktop-database", "applications"},
};

bool UpdateCaches(const std::string& dataFolder)
{
    for (const TCacheUpdater& updater : CacheUpdaters) {
        const std::string program = FindProgram(updater.Program);
        if (!program.empty() && !RunQuietly(program, dataFolder + "/" + updater.Folder))
            return false;
    }
    return true;
}

bool CachesExist(const std::string& dataFolder)
{
    std::error_code ec;
    return FindProgram("update-mime-database").empty() || fs::exists(dataFolder + "/mime/mime.cache", ec);
}

// Files written by one registration, with what they held before, so that a failure can put
// everything back.
class TRegistrationFiles {
public:
    bool Unchanged(const std::string& path, const std::string& content) const
    {
        std::vector<std::uint8_t> old;
        return ReadWholeFile(path, old) && std::string(old.begin(), old.end()) == content;
    }

    bool Replace(const std::string& path, const std::string& content)
    {
        TPrevious previous{path, false, {}};
        previous.Existed = ReadWholeFile(path, previous.Content);
        std::error_code ec;
        fs::create_directories(fs::path(path).parent_path(), ec);
        if (WriteFileAtomically(path, reinterpret_cast<const std::uint8_t*>(content.data()), content.size()) != 0)
            return false;
        FReplaced.push_back(std::move(previous));
        return true;
    }

    void Restore()
    {
        for (auto it = FReplaced.rbegin(); it != FReplaced.rend(); ++it) {
            if (it->Existed)
                WriteFileAtomically(it->Path, it->Content.data(), it->Content.size());
            else
                unlink(it->Path.c_str());
        }
        FReplaced.clear();
    }

private:
    struct TPrevious {
        std::string Path;
        bool Existed;
        std::vector<std::uint8_t> Content;
    };
    std::vector<TPrevious> FReplaced;
};

}  // namespace

std::string MimeTypeOfExtension(const std::string& extension)
{
    const std::string name = LowerAscii(extension.substr(extension.empty() ? 0 : 1));
    return name == "qzw" ? "application/x-olve-title-package" : "application/x-olve-" + name;
}

bool RegisterFileType(const std::string& exePath, const std::string& extension)
{
    return RegisterFileType(exePath, extension, UserDataFolder());
}

bool RegisterFileType(const std::string& exePath, const std::string& extension, const std::string& dataFolder)
{
    std::error_code ec;
    const fs::path exe = fs::absolute(exePath, ec);
    if (ec || exePath.empty() || !ValidExtension(extension) || dataFolder.empty() ||
        exe.string().find_first_of("\r\n") != std::string::npos)
        return false;
    const std::string id = FileTypeIdOf(extension);
    const std::string type = MimeTypeOfExtension(extension);
    const std::string name = exe.stem().string();
    const std::string mimePath = dataFolder + "/mime/packages/olve-" + id + ".xml";
    const std::string desktopPath = dataFolder + "/applications/olve-" + id + ".desktop";
    const std::string mimeContent = MimePackage(type, name, extension);
    const std::string desktopContent = DesktopEntry(type, name, exe.string());

    TRegistrationFiles files;
    if (files.Unchanged(mimePath, mimeContent) && files.Unchanged(desktopPath, desktopContent) &&
        CachesExist(dataFolder))
        return true;
    if (files.Replace(mimePath, mimeContent) && files.Replace(desktopPath, desktopContent) &&
        UpdateCaches(dataFolder))
        return true;
    files.Restore();
    UpdateCaches(dataFolder);
    return false;
}

}  // namespace olve
