#pragma once
#include <filesystem>
#include <string>

namespace olve {

// A recording that can be read only once (a named pipe, or /dev/fd/N of a pipe) is copied
// into a folder of its own under the same name, so that it can be measured and then packed;
// the copy goes with this object.
class TSpooledRecording {
public:
    TSpooledRecording() = default;
    TSpooledRecording(const TSpooledRecording&) = delete;
    TSpooledRecording& operator=(const TSpooledRecording&) = delete;
    ~TSpooledRecording();

    // The path to read the recording from: the path itself for a regular file. False, with
    // the reason, when there is nothing to read there.
    bool Spool(const std::string& path, std::string& usable, std::string& error);

private:
    std::filesystem::path FFolder;
};

}  // namespace olve
