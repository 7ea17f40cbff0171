#pragma once
#include <optional>
#include <string>

#include "align/subtitle_sync.h"
#include "titlemaker/material_files.h"

namespace olve {

// The title the library keeps for one recording: the package, and beside it the record of
// what it was made from.
struct TLibraryEntry {
    std::string Package;  // <dataFolder>/olveplayer/library/<name>.qzw
    std::string Record;   // the same with ".made"
};

// The entry that belongs to a recording and to no other: <name> is the recording's base name
// (letters, digits, "-", "_" and "." kept, anything else "_", at most 40 bytes, never
// beginning with a dot), "-", and 12 hexadecimal digits of a hash of its absolute path with
// symbolic links resolved. The recording need not exist.
TLibraryEntry LibraryEntryFor(const std::string& dataFolder, const std::string& recording);

// <dataFolder>/olveplayer/library
std::string LibraryFolder(const std::string& dataFolder);
// 12 hexadecimal digits of a hash of the path made absolute, with symbolic links resolved:
// the part of a library file's name that ties it to one file or folder.
std::string LibraryPathHash(const std::string& path);

// True when the entry's package is there and its record says it was made from this very
// recording as it is now (same place, same content) and, when the material names subtitles,
// from these subtitles as they are now, and, unless they were a transcript, that the
// subtitles were synced to the recording, and, when the material holds a choice of sentence
// cards, it was made by that choice. A record that cannot be read means no.
bool IsLibraryTitleCurrent(const TLibraryEntry& entry, const TMaterialFiles& material);

// The choice of sentence cards that the entry's record keeps; none when it keeps none or
// cannot be read.
std::optional<bool> KeptSentenceChoice(const TLibraryEntry& entry);

// Records what the package was just made from, the material's choice of sentence cards, and
// the sync its subtitles were made with (none for a transcript). False with a reason (English)
// when a file cannot be read or the record cannot be written.
bool WriteLibraryRecord(const TLibraryEntry& entry, const TMaterialFiles& material,
                        const std::optional<TSubtitleSync>& sync, std::string& error);

// The sync recorded for this very material as it is now (same recording, same subtitles), so
// that a title made of it again is the same; none when the record is of other material or has
// none.
std::optional<TSubtitleSync> RecordedSync(const TLibraryEntry& entry, const TMaterialFiles& material);

// Whether a library title can refer to the recording where it is: not when the recording
// lies below the program's folder, where an installed title's recording is removed when the
// title closes; such a title carries a copy.
bool RecordingStaysInPlace(const std::string& recording, const std::string& programFolder);

}  // namespace olve
