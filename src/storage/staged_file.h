#pragma once
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

namespace olve {

// A file written under a hidden temporary name beside its target and renamed over the target
// only when it is complete, so that an interrupted write never leaves a half-written file
// under the real name. A file that replaces another keeps the other's permission bits.
// Destroying an uncommitted file removes the temporary.
class TStagedFile {
public:
    TStagedFile() = default;
    ~TStagedFile() { Discard(); }
    TStagedFile(const TStagedFile&) = delete;
    TStagedFile& operator=(const TStagedFile&) = delete;

    // Creates the temporary file; false (with errno set) when the folder does not take it.
    bool Open(const std::string& target);
    bool Write(const void* data, std::size_t size);
    // Gives the file its modification time, when there is one, and renames it to the target;
    // with sync, its data reaches the disk first. On failure errno tells why.
    bool Commit(std::optional<std::time_t> modified, bool sync = false);
    void Discard();

private:
    std::string FTarget;
    std::string FTemporary;
    int FFd = -1;
};

// Removes the temporaries that a process which no longer runs left in folder (a local path)
// when it was killed while writing; those of running processes are kept.
void RemoveStaleStagedFiles(const std::string& folder);

}  // namespace olve
