#pragma once
#include <optional>
#include <string>
#include <vector>

namespace olve {

// What a learner brought in to make a title of: a recording and its subtitles. Paths are
// local, UTF-8.
struct TMaterialFiles {
    std::string Recording;
    // The English subtitles (the cards' main texts) and the Japanese ones (their translation).
    std::string English;
    std::string Japanese;
    // Subtitles in other languages, for the learner to choose from.
    std::vector<std::string> Others;
    // English and Japanese are plain texts (".txt"): the English is a transcript to align
    // with the recording, the Japanese its translation line by line.
    bool Transcript = false;
    // Whether subtitles whose cues split sentences make one card per sentence: the learner's
    // choice, kept with the library title; none until it has been asked.
    std::optional<bool> Sentences;
};

// True for the files of that kind (titlemaker/file_kind.h).
bool IsRecordingFile(const std::string& path);
bool IsSubtitleFile(const std::string& path);
bool IsTranscriptFile(const std::string& path);

// The language a subtitle file's name gives before its extension ("talk.ja.srt": "ja"), in
// small letters; empty without one.
std::string SubtitleLanguage(const std::string& path);

// The material in the files given (dropped together or named together): the one recording
// among them and the subtitles among them; when no subtitles are among them, those beside the
// recording whose names begin with its base name ("talk.srt", "talk.en.vtt", "talk.ja.srt");
// without any subtitles, plain texts the same way ("talk.txt", "talk.ja.txt") as a transcript.
// English: no language or one NamedLanguageOf takes for English; Japanese likewise. False, with the reason for the
// user (Japanese and English), when there is no recording or no subtitles in English.
bool FindMaterial(const std::vector<std::string>& paths, TMaterialFiles& material, std::string& reason);

// The subtitle files among the files given when no recording is among them: subtitles
// given alone, for a recording to be found for them. Empty otherwise.
std::vector<std::string> SubtitlesWithoutRecording(const std::vector<std::string>& paths);

// The recording beside a subtitle file with the base name it has before its language
// ("talk.ja.srt": "talk.mp4"), the first in name order; empty when there is none.
std::string RecordingBeside(const std::string& subtitles);

}  // namespace olve
