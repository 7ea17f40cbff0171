#include "titlemaker/title_cards.h"

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "subtitles/subtitle_time.h"
#include "timing/positions.h"
#include "title/shown_card_text.h"
#include "title/word_times.h"

namespace olve {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

std::int32_t StoredSize(const std::string& text)
{
    std::string main;
    CardMainText(text, main);
    return static_cast<std::int32_t>(main.size());
}

TPlayCardItem CardOf(std::int64_t startMs, std::int64_t endMs)
{
    TPlayCardItem card;
    card.StartPos = PackedPositionOf(startMs);
    card.EndPos = PackedPositionOf(endMs);
    card.TimeFormat = otfTrackMilliseconds;
    card.MediaKind = mtVirtualCD;
    return card;
}

// Where the words of each timed part begin in the card's stored main text, and when they
// are spoken counted from the card's start.
std::vector<TWordTime> WordTimesOfCue(const TSubtitleCue& cue)
{
    std::vector<TWordTime> times;
    for (std::size_t k = 0; k < cue.Parts.size(); ++k) {
        const std::size_t end = k + 1 < cue.Parts.size() ? cue.Parts[k + 1].Offset : cue.Text.size();
        std::int32_t start = 0, length = 0;
        PartRange(cue.Text, cue.Parts[k].Offset, end, start, length);
        times.push_back({start, cue.Parts[k].StartMs - cue.StartMs});
    }
    return times;
}

// The stored text reads back as something else: letters became "?" or a look-alike ("—" is
// stored as "―").
bool LosesLetters(const std::string& text, const std::string& mainText)
{
    std::string bars;
    for (char c : text)
        bars += c == '\n' ? std::string("||") : std::string(1, c);
    return Cp932ToUtf8(mainText) != bars;
}

}  // namespace

std::uint32_t PackedPositionOf(std::int64_t ms)
{
    return MakePackedPosition(1, 0, 0, static_cast<std::uint32_t>(ms));
}

bool CardMainText(const std::string& text, std::string& mainText)
{
    std::string joined;
    for (char c : text) {
        if (c == '\n')
            joined += "||";
        else
            joined += c;
    }
    return Utf8ToCp932(joined, mainText);
}

void PartRange(const std::string& text, std::size_t begin, std::size_t end, std::int32_t& start,
               std::int32_t& length)
{
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    start = StoredSize(text.substr(0, begin));
    length = StoredSize(text.substr(begin, end - begin));
}

void AddMainCards(TPlayPackage& package, const std::vector<TSubtitleCue>& cues, const std::vector<std::string>& subTexts,
                  const std::vector<std::string>& pictures, std::vector<std::string>& notes)
{
    package.MainCards.BeginUpdate();
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const TSubtitleCue& cue = cues[i];
        TPlayCardItem card = CardOf(cue.StartMs, cue.EndMs);
        CardMainText(cue.Text, card.MainText);
        const bool subKept = Utf8ToCp932(i < subTexts.size() ? subTexts[i] : std::string(), card.SubText);
        if (!subKept)
            notes.push_back("cue " + std::to_string(cue.Number) + " (" + SubtitleTimeText(cue.StartMs) +
                            ") has a translation with characters that Shift-JIS (code page 932) lacks; shown as ?");
        card.Picture = i < pictures.size() ? pictures[i] : std::string();
        if (!cue.Parts.empty())
            card.DataText = SetTag(card.DataText, WordTimesTagName, WordTimesValue(WordTimesOfCue(cue)));
        if (LosesLetters(cue.Text, card.MainText))
            card.DataText = SetTag(card.DataText, ExactTextTagName, ExactTextValue(cue.Text));
        package.MainCards.Add(card);
    }
    package.MainCards.EndUpdate();
}

void AddWholeRecordingCard(TPlayPackage& package, const std::string& titleName, std::int64_t lengthMs)
{
    TPlayCardItem card = CardOf(0, lengthMs);
    card.MainText = titleName;
    package.VcdCards.Add(card);
}

}  // namespace olve
