#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "codec/data_file.h"

namespace olve {

// A recording as the program's own records name it: where it is, and enough of its content
// to notice that another file has taken its place.
struct TRecordingIdentity {
    // Absolute, with symbolic links resolved; the file system's bytes.
    std::string Path;
    std::int64_t Size = 0;
    // 16 hexadecimal digits of a hash of the size and of 64 KiB samples at the start, the
    // middle and the end: cheap for a film of any length, and different for another file.
    std::string Fingerprint;

    bool operator==(const TRecordingIdentity&) const = default;
};

// The identity of the recording at path. False with a reason (English) when it is not a
// regular file that can be read.
bool IdentifyRecording(const std::string& path, TRecordingIdentity& identity, std::string& error);

enum class TRecordingState {
    Present,   // the same recording is where it was
    Missing,   // nothing readable is there: moved or deleted
    Replaced,  // another file is there, or the file was changed
};

TRecordingState CheckRecording(const TRecordingIdentity& recorded);

// The identity as "key=value" lines of a section. The path is written with every byte but
// letters, digits and "/._-" as "%XX", so any name is stored as plain ASCII on one line.
std::vector<std::string> RecordingIdentityLines(const TRecordingIdentity& identity);
void WriteRecordingIdentity(TDataFile& file, const std::string& section, const TRecordingIdentity& identity);
// False when the section holds no identity or one that does not read back whole (a path that
// is not absolute or holds a NUL, a size that is no number, a fingerprint that is not 16
// hexadecimal digits).
bool ReadRecordingIdentity(const TDataFile& file, const std::string& section, TRecordingIdentity& identity);

}  // namespace olve
