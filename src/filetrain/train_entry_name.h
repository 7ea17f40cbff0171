#pragma once
#include <string>

namespace olve {

// Names inside a file train are code page 932 with "\" between folders (a "/" counts as a
// separator too, as it does where the packages are made). On the local file system they are
// UTF-8 with "/". The byte "\" inside a two-byte character (as in "表" or "ソ") is part of that
// character, not a separator.

// The name as UTF-8 with "/", for showing: control bytes and broken characters as \xNN.
std::string DisplayEntryName(const std::string& stored);

// The local path, relative to the destination folder, that an entry may be written to.
// False when writing it could land anywhere but below that folder, or cannot name a file:
// an empty name, a control byte (NUL, ESC, ...), a lead byte without a second byte that
// belongs to it, a leading separator (absolute), a drive letter ("C:"), a ".."
// component, or a trailing separator. "." and empty components are dropped.
bool LocalEntryPath(const std::string& stored, std::string& relative);

// The stored form of a local relative path (UTF-8, "/"); false when a character has no code
// page 932 form, or a name holds a "\" that would read back as a separator.
bool StoredEntryName(const std::string& localRelative, std::string& stored);

}  // namespace olve
