#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace olve {

// At most this many entries of a folder are looked at for subtitles, and at most this many
// offered, so that a huge folder neither stalls the window nor floods the list.
inline constexpr std::size_t MostFolderEntriesLooked = 4096;
inline constexpr std::size_t MostCandidatesOffered = 200;

// How like a recording's file name a subtitle file's name is, from 0 (nothing in common) to
// 1 (the same name): extensions and the subtitles' language ("en", "ja") are left out, the
// names are taken as words in small letters (split at anything but letters and digits), and
// words are matched with the best word of the other name; words with digits match only their
// equal ("s01e02" is another episode than "s01e03"), others by their edit distance. The
// longest common subsequence of the whole names decides between equal matches.
double NameLikeness(const std::string& recordingName, const std::string& subtitleName);

// The subtitle files (".srt", ".vtt", ".lrc") and transcripts (".txt") of the recording's
// folder, as local paths, the most like the recording's name first; Japanese ones, which
// translate rather than give the main text, after the rest. Only regular files that lie in
// the folder itself count (a link that leads elsewhere is passed over).
std::vector<std::string> RankedSubtitleFiles(const std::string& recording);

}  // namespace olve
