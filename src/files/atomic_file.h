#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// Replaces the file at path with data so that a reader sees either the old contents or the
// new ones, never a mixture: the data goes to a new file in the same folder, which is then
// renamed over the old one. An existing file keeps its permission bits (a read-only file is
// replaced too). A symbolic link is followed: the file it leads to is replaced, the link
// stays. A device or a pipe is written to directly (not atomically); a folder or a socket is
// refused. The file and then its folder are synced to the disk. Returns 0, or the errno of the
// step that failed; an old file is then untouched, unless only the folder could not be synced.
int WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data);

// Moves a file to a name that must not exist yet: a rename never replaces a third file. False
// (errno set) when the name is taken or the move fails.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace olve
