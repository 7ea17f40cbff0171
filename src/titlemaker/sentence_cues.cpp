#include "titlemaker/sentence_cues.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#include "subtitles/subtitle_file.h"
#include "titlemaker/cue_timing.h"

namespace olve {

namespace {

constexpr std::string_view Ellipsis = "\xE2\x80\xA6";  // …

// Closing quotes and brackets that may follow the mark that ends a sentence.
constexpr std::array<std::string_view, 10> Closers = {"\"", "'", ")", "]", "\xE2\x80\x9D", "\xE2\x80\x99",
                                                      "\xC2\xBB", "\xE3\x80\x8D", "\xE3\x80\x8F", "\xEF\xBC\x89"};

// Full-width marks that end a Japanese or Chinese sentence: "。", "！", "？", "．".
constexpr std::array<std::string_view, 4> WideEnds = {"\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F",
                                                      "\xEF\xBC\x8E"};
// Music notes that mark sung lines rather than words of a sentence: "♪", "♫".
constexpr std::array<std::string_view, 2> MusicNotes = {"\xE2\x99\xAA", "\xE2\x99\xAB"};

// Words that end in a full stop without ending the sentence ("Mr. Smith").
constexpr std::array<std::string_view, 16> Abbreviations = {"mr", "mrs", "ms", "dr", "st", "jr", "sr", "prof",
                                                            "rev", "gen", "col", "capt", "lt", "sgt", "mt", "vs"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

std::string_view TrimmedEnd(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimmedStart(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// The text without the blanks, closing quotes and brackets at its end.
std::string_view WithoutClosers(std::string_view text)
{
    for (bool found = true; found;) {
        text = TrimmedEnd(text);
        found = false;
        for (std::string_view closer : Closers)
            if (EndsWith(text, closer)) {
                text.remove_suffix(closer.size());
                found = true;
            }
    }
    return text;
}

// "[music]", "(laughs)", "♪ la la ♪": a sound or a song, not words of a sentence.
bool IsSoundNote(std::string_view text)
{
    text = TrimmedStart(TrimmedEnd(text));
    for (std::string_view note : MusicNotes)
        if (StartsWith(text, note) || EndsWith(text, note))
            return true;
    return text.size() >= 2 && ((text.front() == '[' && text.back() == ']') || (text.front() == '(' && text.back() == ')'));
}

// The word before the final full stop, in small letters, without opening quotes or brackets.
std::string LastWord(std::string_view text)
{
    text.remove_suffix(1);
    const std::size_t blank = text.find_last_of(" \t\n\"'([");
    std::string word(blank == std::string_view::npos ? text : text.substr(blank + 1));
    for (char& c : word)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return word;
}

bool EndsInAbbreviation(std::string_view text)
{
    const std::string word = LastWord(text);
    if (word.find('.') != std::string::npos)  // "e.g.", "U.S."
        return true;
    const char initial = text.size() >= 2 ? text[text.size() - 2] : ' ';
    if (word.size() == 1 && initial >= 'A' && initial <= 'Z')  // "John F. Kennedy"
        return true;
    return std::find(Abbreviations.begin(), Abbreviations.end(), word) != Abbreviations.end();
}

// Whether the next cue's words go on in small letters, past any "..." it opens with.
bool GoesOnInSmallLetters(std::string_view next)
{
    for (bool found = true; found;) {
        next = TrimmedStart(next);
        found = StartsWith(next, "...") || StartsWith(next, Ellipsis);
        if (found)
            next.remove_prefix(StartsWith(next, "...") ? 3 : Ellipsis.size());
    }
    return !next.empty() && next.front() >= 'a' && next.front() <= 'z';
}

// A cue's lines as one line, but a line of dialogue keeps its own line.
std::string FlatLines(const std::string& text)
{
    std::string flat = text;
    for (std::size_t i = 0; i + 1 < flat.size(); ++i)
        if (flat[i] == '\n' && flat[i + 1] != '-')
            flat[i] = ' ';
    return flat;
}

// "that..." / "...he was": the pause is written once in the joined text. The bytes of next's
// text that repeat it (its opening "..." or "…" and the blanks after), else none.
std::size_t RepeatedPause(std::string_view text, std::string_view next)
{
    const std::string_view end = WithoutClosers(text);
    if (!EndsWith(end, "...") && !EndsWith(end, Ellipsis))
        return 0;
    const std::size_t mark = StartsWith(next, "...") ? 3 : StartsWith(next, Ellipsis) ? Ellipsis.size() : 0;
    if (mark == 0)
        return 0;
    return next.size() - TrimmedStart(next.substr(mark)).size();
}

bool Joins(const TSubtitleCue& cue, const TSubtitleCue& next)
{
    return next.StartMs - cue.EndMs <= LongestSentencePauseMs && ContinuesSentence(cue.Text, next.Text);
}

TSubtitleCue Joined(const std::vector<TSubtitleCue>& cues, std::size_t first, std::size_t last)
{
    const bool timed = std::any_of(cues.begin() + first, cues.begin() + last + 1,
                                   [](const TSubtitleCue& cue) { return !cue.Parts.empty(); });
    TSubtitleCue joined = cues[first];
    joined.Text.clear();
    joined.Parts.clear();
    joined.Translation.clear();
    for (std::size_t k = first; k <= last; ++k) {
        const TSubtitleCue& cue = cues[k];
        const std::size_t skip = k > first ? RepeatedPause(joined.Text, cue.Text) : 0;
        if (!joined.Text.empty())
            joined.Text += ' ';
        const std::size_t base = joined.Text.size();
        joined.Text += FlatLines(cue.Text).substr(skip);
        if (timed && cue.Parts.empty())
            joined.Parts.push_back({cue.StartMs, base});
        for (const TTimedPart& part : cue.Parts)
            joined.Parts.push_back({part.StartMs, base + std::max(part.Offset, skip) - skip});
        if (!cue.Translation.empty())
            joined.Translation += (joined.Translation.empty() ? "" : "\n") + cue.Translation;
    }
    joined.EndMs = cues[last].EndMs;
    return joined;
}

}  // namespace

bool ContinuesSentence(const std::string& text, const std::string& next)
{
    const std::string_view nextText = TrimmedStart(next);
    if (nextText.empty() || nextText.front() == '-' || IsSoundNote(text) || IsSoundNote(next))
        return false;
    const std::string_view end = WithoutClosers(text);
    if (end.empty())
        return false;
    if (EndsWith(end, "...") || EndsWith(end, Ellipsis))
        return GoesOnInSmallLetters(nextText);
    if (end.back() == '!' || end.back() == '?' ||
        std::any_of(WideEnds.begin(), WideEnds.end(), [&](std::string_view mark) { return EndsWith(end, mark); }))
        return false;
    if (end.back() == '.')
        return EndsInAbbreviation(end);
    return true;
}

std::vector<TSubtitleCue> JoinSentences(const std::vector<TSubtitleCue>& cues)
{
    std::vector<TSubtitleCue> sentences;
    for (std::size_t first = 0; first < cues.size();) {
        std::size_t last = first;
        while (last + 1 < cues.size() && Joins(cues[last], cues[last + 1]))
            ++last;
        if (last > first && cues[last].EndMs - cues[first].StartMs <= LongestSentenceCardMs)
            sentences.push_back(Joined(cues, first, last));
        else
            sentences.insert(sentences.end(), cues.begin() + first, cues.begin() + last + 1);
        first = last + 1;
    }
    return sentences;
}

bool CuesSplitSentences(const std::vector<TSubtitleCue>& cues)
{
    return JoinSentences(cues).size() < cues.size();
}

bool SubtitleFileSplitsSentences(const std::string& path)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    TSubtitleFile file;
    std::string error;
    if (ec || size > LargestLookedSubtitles || !ReadSubtitleFile(path, file, error))
        return false;
    std::vector<std::string> notes;
    return CuesSplitSentences(PrepareCues(std::move(file.Cues), MaxTitleMs, "", notes));
}

}  // namespace olve
