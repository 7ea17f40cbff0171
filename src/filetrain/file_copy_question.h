#pragma once
#include <cstdint>
#include <string>

namespace olve {

// What to do with an entry whose target file exists already.
enum class TCopyChoice {
    CopyIfNewer,  // write it only when the entry is newer than the file
    Overwrite,
    Rename,       // give the existing file the first name and write the entry under the second
    Cancel,       // skip this entry; with apply-to-all, end the installation
};

// One question about an existing file. Paths are local (UTF-8, "/"); dates are packed DOS
// values (see dos_date_time.h).
struct TFileCopyRequest {
    // What the question is about.
    std::string ExistingPath;
    std::string NewPath;            // the same target path
    std::int64_t ExistingSize = 0;
    std::uint32_t ExistingDate = 0;
    std::int64_t EntrySize = 0;
    std::uint32_t EntryDate = 0;
    bool EntryIsNewer = false;

    // Offered, then answered.
    TCopyChoice Choice = TCopyChoice::CopyIfNewer;
    std::string OldName;            // file names only, without folders
    std::string NewName;
    bool ApplyToAll = false;        // use the choice for the remaining existing files too
};

// Asks the user; the player shows the file copy dialog, tests answer themselves.
class TFileCopyQuestion {
public:
    virtual ~TFileCopyQuestion() = default;
    // Sets Choice, OldName, NewName and ApplyToAll. Closing the question in any other way
    // than by answering it gives Cancel without apply-to-all.
    virtual void Ask(TFileCopyRequest& request) = 0;
};

}  // namespace olve
