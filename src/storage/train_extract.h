#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/extract_feedback.h"
#include "storage/file_copy_question.h"
#include "storage/prompts.h"
#include "storage/string_list.h"

namespace olve {

// Plain entries larger than this are copied in chunks under a progress window, so that
// neither the package nor a large media file is ever held in memory whole.
inline constexpr std::int32_t LargeEntrySize = 983039;
inline constexpr std::size_t CopyChunkSize = 61440;
inline constexpr const char* ProgressCaption = "読み込み中";

// The user interface that installing talks to; any of them may be absent. Without a copy
// question, entries whose target exists are skipped unless the mode overwrites them; without
// prompts, nothing is reported.
struct TExtractUi {
    TExtractFeedback* Feedback = nullptr;
    TFileCopyQuestion* CopyQuestion = nullptr;
    TPrompts* Prompts = nullptr;
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
// that would replace the running program, nor an entry whose BDC data does not decode to
// its size; the rest installs and each kind of
// refusal is reported once. A package cut short installs what it holds completely.
//
// True when at least one entry was written or passed over by copy-if-newer. False when the
// file cannot be read as a file train.
bool ExtractFileTrain(const TExtractUi& ui, const std::string& fileName, const std::string& destFolder,
                      TStringList& extracted, int mode, bool useHeaderFolder);

}  // namespace olve
