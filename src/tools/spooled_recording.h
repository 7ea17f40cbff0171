#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

namespace olve {

// The most a recording read through a pipe may be: what one package entry holds (2 GiB).
inline constexpr std::uint64_t PackableRecordingSize = 0x7FFFFFFF;
// Room the copy always leaves in the temporary folder, for everything else that uses it.
inline constexpr std::uint64_t SpoolRoomKept = 64ULL << 20;

// A recording that can be read only once (a named pipe, or /dev/fd/N of a pipe) is copied
// into a folder of its own under the same name, so that it can be measured and then packed;
// the copy goes with this object, and its data with the process even when it is killed. The copy stops, and says so, at the limit or where it would
// leave less than SpoolRoomKept free in the temporary folder, so a pipe without end never
// fills it.
class TSpooledRecording {
public:
    explicit TSpooledRecording(std::uint64_t limit = PackableRecordingSize) : FLimit(limit) {}
    TSpooledRecording(const TSpooledRecording&) = delete;
    TSpooledRecording& operator=(const TSpooledRecording&) = delete;
    ~TSpooledRecording();

    // The path to read the recording from: the path itself for a regular file. False, with
    // the reason (the limit reached, or why reading or writing failed, naming the copy), when
    // there is nothing to read there or it cannot be copied whole; no copy is left then.
    bool Spool(const std::string& path, std::string& usable, std::string& error);

private:
    bool Copy(const std::string& path, const std::filesystem::path& copy, std::string& error);

    std::uint64_t FLimit;
    std::filesystem::path FFolder;
    // The copy without a name of its own, when the file system makes one.
    int FCopy = -1;
};

}  // namespace olve
