#include "places/recording_identity.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_descriptor.h"
#include "codec/percent_text.h"

namespace olve {

namespace {

constexpr std::size_t SampleSize = 64 * 1024;
constexpr std::size_t LongestPath = 4096;
constexpr const char* PathKey = "path";
constexpr const char* SizeKey = "size";
constexpr const char* FingerprintKey = "fingerprint";

// 64-bit FNV-1a, stable across machines and builds.
void Mix(std::uint64_t& hash, const unsigned char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3ULL;
}

bool MixSample(int fd, std::int64_t offset, std::uint64_t& hash)
{
    std::array<unsigned char, SampleSize> buffer;
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::pread(fd, buffer.data() + got, buffer.size() - got, offset + static_cast<std::int64_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    Mix(hash, buffer.data(), got);
    return true;
}

bool Fingerprint(int fd, std::int64_t size, std::string& fingerprint)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    Mix(hash, reinterpret_cast<const unsigned char*>(&size), sizeof size);
    const std::int64_t sample = static_cast<std::int64_t>(SampleSize);
    for (const std::int64_t offset : {std::int64_t{0}, std::max<std::int64_t>(0, size / 2 - sample / 2),
                                      std::max<std::int64_t>(0, size - sample)})
        if (!MixSample(fd, offset, hash))
            return false;
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(hash));
    fingerprint = text;
    return true;
}

bool IsPlainPathByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/' || c == '.' ||
           c == '_' || c == '-';
}

std::string EncodedPath(const std::string& path)
{
    return PercentEncoded(path, IsPlainPathByte);
}

bool DecodedPath(const std::string& text, std::string& path)
{
    if (!PercentDecoded(text, path) || path.find('\0') != std::string::npos)
        return false;
    return !path.empty() && path.front() == '/' && path.size() <= LongestPath;
}

bool IsFingerprint(const std::string& text)
{
    if (text.size() != 16)
        return false;
    for (const char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

bool IdentifyRecording(const std::string& path, TRecordingIdentity& identity, std::string& error)
{
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::canonical(path, ec);
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    const TFileDescriptor file(ec ? -1 : ::open(canonical.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st{};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0) {
        error = "cannot read " + path + (ec ? ": " + ec.message() : ": " + std::string(std::strerror(errno)));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = path + " is not a regular file";
        return false;
    }
    identity.Path = canonical.string();
    identity.Size = st.st_size;
    if (!Fingerprint(file.Get(), identity.Size, identity.Fingerprint)) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

TRecordingState CheckRecording(const TRecordingIdentity& recorded)
{
    TRecordingIdentity now;
    std::string ignored;
    if (!IdentifyRecording(recorded.Path, now, ignored))
        return TRecordingState::Missing;
    return now.Size == recorded.Size && now.Fingerprint == recorded.Fingerprint ? TRecordingState::Present
                                                                                : TRecordingState::Replaced;
}

std::vector<std::string> RecordingIdentityLines(const TRecordingIdentity& identity)
{
    return {std::string(PathKey) + "=" + EncodedPath(identity.Path),
            std::string(SizeKey) + "=" + std::to_string(identity.Size),
            std::string(FingerprintKey) + "=" + identity.Fingerprint};
}

void WriteRecordingIdentity(TDataFile& file, const std::string& section, const TRecordingIdentity& identity)
{
    file.WriteString(section, PathKey, EncodedPath(identity.Path));
    file.WriteString(section, SizeKey, std::to_string(identity.Size));
    file.WriteString(section, FingerprintKey, identity.Fingerprint);
}

bool ReadRecordingIdentity(const TDataFile& file, const std::string& section, TRecordingIdentity& identity)
{
    const std::string size = file.ReadString(section, SizeKey, "");
    const char* end = size.data() + size.size();
    TRecordingIdentity read;
    read.Fingerprint = file.ReadString(section, FingerprintKey, "");
    const auto parsed = std::from_chars(size.data(), end, read.Size);
    if (!DecodedPath(file.ReadString(section, PathKey, ""), read.Path) || size.empty() || parsed.ec != std::errc() ||
        parsed.ptr != end || read.Size < 0 || !IsFingerprint(read.Fingerprint))
        return false;
    identity = read;
    return true;
}

}  // namespace olve
