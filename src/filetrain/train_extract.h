#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "filetrain/extract_feedback.h"
#include "filetrain/file_copy_question.h"
#include "files/failure.h"
#include "codec/string_list.h"

namespace olve {

// Plain entries larger than this are copied in chunks under a progress window, so that
// neither the package nor a large media file is ever held in memory whole.
inline constexpr std::int32_t LargeEntrySize = 983039;
inline constexpr std::size_t CopyChunkSize = 61440;
inline constexpr const char* ProgressCaption = "読み込み中";

// The user interface that installing talks to; either may be absent. Without a copy
// question, entries whose target exists are skipped unless the mode overwrites them.
struct TExtractUi {
    TExtractFeedback* Feedback = nullptr;
    TFileCopyQuestion* CopyQuestion = nullptr;
};

// What an installation did besides the files it wrote, for those who keep track of them.
struct TExtractOutcome {
    // Written files that were there before the installation began: not the package's own.
    std::vector<std::string> Replaced;
    // The files that could not be written, and why; whatever was there stays as it was.
    struct TFailure {
        std::string Path;
        std::string Reason;
    };
    std::vector<TFailure> Failed;
    // Set when the package is damaged: cut short, holding bytes that are no entry, or failing
    // to read. How many whole entries came before the damage; what came after is lost.
    std::optional<int> DamagedAfter;
    // Entries passed over: names that could land outside the destination or name no file,
    // and entries whose data does not decode.
    int Refused = 0;
    int Damaged = 0;
    // What the user is to be told of the above, once for each kind, in the order to tell it.
    std::vector<::olve::TFailure> Problems;
};

// Installs every entry of a file train below DestFolder (a local path; one trailing "/" or "\"
// is dropped), below the header folder too when UseHeaderFolder is set and the header is not
// empty, and appends the path of every file written to Extracted.
//
// Mode 1 or 2 overwrites existing files; any other mode asks CopyQuestion about each one
// (copy if newer, overwrite, rename, cancel, with apply-to-all). "PlayCDs.ini" is always
// overwritten. Files keep the entries' dates. Each file is written under a temporary name and
// renamed when complete.
//
// Package data is not trusted: an entry whose name would land outside DestFolder (absolute,
// a drive letter, "..", or through an existing symbolic link) is never written, nor is one
// that would replace the player ("olveplayer", any letter case) or its settings file in the
// destination, the running program or the settings file beside it, or the package itself,
// nor an entry whose BDC data does not decode to its size; the rest installs
// and each kind of refusal is among the problems once. A damaged package (cut short, bytes that are no
// entry, data that cannot be read) is reported with the count of whole entries before the
// damage and keeps none of the files this installation created: the entries are walked
// before anything is written, and a read that fails later removes them again; files that were
// there before stay. A file that cannot be written (a full disk) is reported with its reason,
// and the installation goes on with the next entry. When Feedback says the installation is
// cancelled, it ends before the next entry or chunk, keeping what it wrote.
//
// True when at least one entry was written or passed over by copy-if-newer. False when the
// file cannot be read as a file train or is damaged. Outcome, when given, receives what else
// happened, and the problems to tell the user.
bool ExtractFileTrain(const TExtractUi& ui, const std::string& fileName, const std::string& destFolder,
                      TStringList& extracted, int mode, bool useHeaderFolder, TExtractOutcome* outcome = nullptr);

}  // namespace olve
