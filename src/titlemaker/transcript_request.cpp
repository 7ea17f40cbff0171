#include "titlemaker/transcript_request.h"

#include <algorithm>

#include "align/pcm_recording.h"
#include "align/transcript_alignment.h"
#include "align/transcript_text.h"
#include "subtitles/subtitle_lines.h"
#include "subtitles/subtitle_text.h"
#include "titlemaker/transcript_file.h"

namespace olve {

namespace {

bool ReadText(const std::string& path, std::string& text, std::string& error)
{
    return ReadTranscriptFile(path, text, error);
}

// The text's lines that hold something, without the blanks around them.
std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(text))
        if (!IsBlankLine(line))
            lines.emplace_back(TrimBlanks(line));
    return lines;
}

// The line ends a sentence: ".", "!" or "?", a closing quote or bracket allowed after it.
bool EndsASentence(const std::string& line)
{
    const std::size_t last = line.find_last_not_of("\"')]");
    return last != std::string::npos && (line[last] == '.' || line[last] == '!' || line[last] == '?');
}

// A transcript whose every line ends a sentence and that has as many lines as its translation
// is paired with it line by line, whatever sentences a line holds ("Good morning! The sun is
// up."); otherwise it is cut into sentences.
std::vector<std::string> CardTexts(const std::string& text, const std::string& translationPath)
{
    std::string translation;
    std::string ignored;
    const std::vector<std::string> lines = TextLines(text);
    if (!translationPath.empty() && std::all_of(lines.begin(), lines.end(), EndsASentence) &&
        ReadText(translationPath, translation, ignored) && TextLines(translation).size() == lines.size())
        return lines;
    return TranscriptSentences(text);
}

bool AlignCues(const TSubtitleTitleRequest& request, TTranscriptAlignment& alignment, std::vector<std::string>& notes,
               std::string& error, const TAlignProgress& progress)
{
    std::string text;
    if (!ReadText(request.SubtitlePath, text, error))
        return false;
    const std::vector<std::string> sentences = CardTexts(text, request.TranslationPath);
    TPcmRecording recording;
    const bool aligned = !sentences.empty() && DecodePcmRecording(request.MediaPath, recording, error) &&
                         AlignTranscript(recording, sentences, alignment, error, progress);
    notes.insert(notes.end(), alignment.Notes.begin(), alignment.Notes.end());
    if (sentences.empty())
        error = request.SubtitlePath + " holds no sentence";
    return aligned;
}

// Line k of the translation goes with sentence k, so it takes that sentence's time.
bool TranslationCues(const std::string& path, const std::vector<TSubtitleCue>& cues, TSubtitleFile& translation,
                     std::string& error)
{
    std::string text;
    if (!ReadText(path, text, error))
        return false;
    const std::vector<std::string> lines = TextLines(text);
    for (std::size_t k = 0; k < std::min(lines.size(), cues.size()); ++k) {
        TSubtitleCue cue = cues[k];
        cue.Text = lines[k];
        cue.Parts.clear();
        translation.Cues.push_back(cue);
    }
    if (lines.size() != cues.size())
        translation.Notes.push_back("has " + std::to_string(lines.size()) + " lines for " +
                                    std::to_string(cues.size()) + " sentences; lines and sentences are paired in order");
    return true;
}

}  // namespace

bool AlignTranscriptRequest(TSubtitleTitleRequest& request, std::vector<std::string>& notes, std::string& error,
                            const TAlignProgress& progress)
{
    TTranscriptAlignment alignment;
    if (!AlignCues(request, alignment, notes, error, progress))
        return false;
    request.Subtitles = TSubtitleFile{alignment.Cues, std::string(), {}};
    return request.TranslationPath.empty() ||
           TranslationCues(request.TranslationPath, alignment.Cues, request.Translation.emplace(), error);
}

}  // namespace olve
