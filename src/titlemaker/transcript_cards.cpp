#include "titlemaker/transcript_cards.h"

#include <string_view>

#include "align/transcript_text.h"
#include "subtitles/subtitle_lines.h"

namespace olve {

namespace {

using TLines = std::vector<std::string>;
// The non-empty lines of a text, parted where blank lines stand.
using TParagraphs = std::vector<TLines>;

constexpr std::string_view JapaneseStops[] = {"\u3002", "\uFF01", "\uFF1F", "\uFF0E", "!", "?"};
constexpr std::string_view JapaneseClosings[] = {"\u300D", "\u300F", "\uFF09", ")", "\u201D", "\u3011", "\""};

// The bytes of one of the marks at text[at], 0 for none.
template <std::size_t N>
std::size_t MarkAt(const std::string& text, std::size_t at, const std::string_view (&marks)[N])
{
    for (const std::string_view mark : marks)
        if (text.compare(at, mark.size(), mark) == 0)
            return mark.size();
    return 0;
}

std::string Trimmed(std::string_view text)
{
    return std::string(TrimBlanks(text));
}

TParagraphs Paragraphs(const std::string& text)
{
    TParagraphs paragraphs(1);
    for (const std::string& line : SplitLines(text)) {
        if (!IsBlankLine(line))
            paragraphs.back().push_back(Trimmed(line));
        else if (!paragraphs.back().empty())
            paragraphs.emplace_back();
    }
    if (paragraphs.back().empty())
        paragraphs.pop_back();
    return paragraphs;
}

TLines AllLines(const TParagraphs& paragraphs)
{
    TLines lines;
    for (const TLines& paragraph : paragraphs)
        lines.insert(lines.end(), paragraph.begin(), paragraph.end());
    return lines;
}

// The bytes of one of the marks that ends text[0, end), 0 for none.
template <std::size_t N>
std::size_t MarkBefore(const std::string& text, std::size_t end, const std::string_view (&marks)[N])
{
    for (const std::string_view mark : marks)
        if (end >= mark.size() && text.compare(end - mark.size(), mark.size(), mark) == 0)
            return mark.size();
    return 0;
}

bool EndsJapaneseSentence(const std::string& line)
{
    std::size_t end = line.size();
    while (std::size_t closing = MarkBefore(line, end, JapaneseClosings))
        end -= closing;
    return MarkBefore(line, end, JapaneseStops) > 0;
}

// Lines that run on until a sentence ends (or the paragraph does), joined with a space.
TLines SentenceRuns(const TParagraphs& paragraphs)
{
    TLines runs;
    for (const TLines& paragraph : paragraphs) {
        std::string run;
        for (const std::string& line : paragraph) {
            run += (run.empty() ? "" : " ") + line;
            if (EndsSentence(line)) {
                runs.push_back(run);
                run.clear();
            }
        }
        if (!run.empty())
            runs.push_back(run);
    }
    return runs;
}

void Add(std::vector<TTranscriptCard>& cards, const TLines& english, const TLines& japanese)
{
    for (std::size_t k = 0; k < english.size(); ++k)
        cards.push_back({english[k], k < japanese.size() ? japanese[k] : std::string()});
}

bool LinesPair(const TLines& english, const TLines& japanese)
{
    if (english.size() != japanese.size())
        return false;
    for (std::size_t k = 0; k < english.size(); ++k)
        if (!EndsSentence(english[k]) && EndsJapaneseSentence(japanese[k]))
            return false;
    return true;
}

// Runs of English with their Japanese lines; false when the counts differ.
bool PairRuns(const TLines& runs, const TLines& japanese, std::vector<TTranscriptCard>& cards)
{
    if (runs.size() != japanese.size())
        return false;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const TLines english = TranscriptSentences(runs[k]);
        const TLines parts = JapaneseSentences(japanese[k]);
        if (english.size() == parts.size())
            Add(cards, english, parts);
        else
            cards.push_back({runs[k], japanese[k]});
    }
    return true;
}

bool PairSentences(const TLines& runs, const TLines& japanese, std::vector<TTranscriptCard>& cards)
{
    TLines english, parts;
    for (const std::string& run : runs)
        for (std::string& sentence : TranscriptSentences(run))
            english.push_back(std::move(sentence));
    for (const std::string& line : japanese)
        for (std::string& sentence : JapaneseSentences(line))
            parts.push_back(std::move(sentence));
    if (english.size() != parts.size())
        return false;
    Add(cards, english, parts);
    return true;
}

// Cards of one stretch of both texts; false, adding nothing, when nothing pairs surely.
bool PairStretch(const TParagraphs& english, const TParagraphs& japanese, std::vector<TTranscriptCard>& cards)
{
    const TLines englishLines = AllLines(english);
    const TLines japaneseLines = AllLines(japanese);
    if (LinesPair(englishLines, japaneseLines)) {
        Add(cards, englishLines, japaneseLines);
        return true;
    }
    const TLines runs = SentenceRuns(english);
    return PairRuns(runs, japaneseLines, cards) || PairSentences(runs, japaneseLines, cards);
}

void AddUnpaired(const TParagraphs& english, std::vector<TTranscriptCard>& cards)
{
    for (const std::string& run : SentenceRuns(english))
        Add(cards, TranscriptSentences(run), {});
}

}  // namespace

std::vector<std::string> JapaneseSentences(const std::string& line)
{
    std::vector<std::string> sentences;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t stop = MarkAt(line, i, JapaneseStops);
        if (stop == 0) {
            ++i;
            continue;
        }
        i += stop;
        while (std::size_t more = MarkAt(line, i, JapaneseStops) + MarkAt(line, i, JapaneseClosings))
            i += more;
        if (std::string sentence = Trimmed(std::string_view(line).substr(begin, i - begin)); !sentence.empty())
            sentences.push_back(std::move(sentence));
        begin = i;
    }
    if (std::string rest = Trimmed(std::string_view(line).substr(begin)); !rest.empty())
        sentences.push_back(std::move(rest));
    return sentences;
}

std::vector<TTranscriptCard> TranscriptCards(const std::string& transcript, const std::string& translation)
{
    const TParagraphs english = Paragraphs(transcript);
    const TParagraphs japanese = Paragraphs(translation);
    std::vector<TTranscriptCard> cards;
    if (!japanese.empty() && PairStretch(english, japanese, cards))
        return cards;
    const bool byParagraph = english.size() > 1 && english.size() == japanese.size();
    for (std::size_t p = 0; p < english.size(); ++p)
        if (!byParagraph || !PairStretch({english[p]}, {japanese[p]}, cards))
            AddUnpaired({english[p]}, cards);
    return cards;
}

}  // namespace olve
