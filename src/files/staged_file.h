#pragma once
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>

namespace olve {

// What a staged file does with a target that exists and is not a regular file.
enum class TExistingTarget {
    // A symbolic link is replaced by the file, never followed; a device, a pipe, a socket or a
    // folder is refused: for names that come from data nobody vouches for.
    ReplaceLinks,
    // A symbolic link is followed to the file it names, which is replaced instead; a device
    // or a pipe is written to directly, without a temporary; a socket or a folder is refused:
    // for names the user gave.
    FollowLinks,
};

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

    // Creates the temporary file (or opens the device or pipe that is written directly); false
    // (with errno set) when the folder does not take it or the target is refused (EISDIR for
    // a folder, ELOOP for links that go round, EPERM for anything else).
    bool Open(const std::string& target, TExistingTarget existing = TExistingTarget::ReplaceLinks);
    bool Write(const void* data, std::size_t size);
    // Gives the file its modification time, when there is one, and renames it to the target;
    // with sync, its data reaches the disk first and the folder's new entry after the rename
    // (false, with errno, when that last step fails: the target is then already the new
    // file). On failure errno tells why. Written directly, a device or pipe is only closed.
    bool Commit(std::optional<std::time_t> modified, bool sync = false);
    void Discard();

    // The file that is written: the target, or what its links lead to.
    const std::string& Target() const { return FTarget; }
    // False when the target is written directly.
    bool Staged() const { return !FTemporary.empty(); }

private:
    bool OpenDirectly();
    bool OpenTemporary();
    bool MayReplaceTarget() const;

    TExistingTarget FExisting = TExistingTarget::ReplaceLinks;
    std::string FTarget;
    std::string FTemporary;
    int FFd = -1;
};

// Brings the entries of the folder that holds path (a local path) to the disk; false with
// errno when the folder cannot be opened or synced.
bool SyncFolderOf(const std::string& path);

// Removes the temporaries that a process which no longer runs left in folder (a local path)
// when it was killed while writing; those of running processes are kept.
void RemoveStaleStagedFiles(const std::string& folder);

}  // namespace olve
