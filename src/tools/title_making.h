#pragma once
#include "titlemaker/subtitle_title.h"
#include "tools/spooled_recording.h"

namespace olve {

// The steps the commands that make titles share, each saying on standard error why it failed.

// Refuses a package that would replace one of the inputs, notes a package name the player
// would not open, copies a recording that can be read only once (kept by spooled) and
// measures it as the player does.
bool PrepareRecording(TSubtitleTitleRequest& request, TSpooledRecording& spooled);

// The most notes printed: a long text can draw a note for every line.
inline constexpr std::size_t ShownNotes = 50;

// The first ShownNotes notes, then how many more there are.
void PrintNotes(const std::vector<std::string>& notes);

// Makes the title, telling progress to progress while the cues are synced; the notes are
// printed whether or not it was made.
bool MakeTitleSaying(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result,
                     const TAlignProgress& progress = {});

}  // namespace olve
