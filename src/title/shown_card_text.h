#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "title/play_card_item.h"

namespace olve {

// Code page 932 lacks many letters of the learner's own material: "café" is stored as
// "caf?" and "—" as "―". A card made from subtitles or a transcript keeps the text as it was
// written in the tag "UTX" of its data text: UTF-8 with "\n" between lines, percent-encoded,
// so the value is plain ASCII with no blank, comma or quote and readers that do not know the
// tag pass it by. The main text stays as it was stored, for every other reader.
inline constexpr const char* ExactTextTagName = "UTX";

// The tag's value for a text (UTF-8).
std::string ExactTextValue(const std::string& utf8);

// A card's main text (code page 932) character by character, each with the text it shows
// (UTF-8): the kept exact text where the card has one that still stands for its main text
// (each of its letters stored as that character: a program that does not know the tag may
// have changed the main text and left the tag behind), otherwise each character as decoded.
// So byte offsets of the main text (ranges, word times) point at the same letters in both.
class TShownText {
public:
    TShownText(const std::string& mainText, const std::string& dataText);

    bool IsExact() const { return FExact; }
    // The bytes [from, to) of the main text as shown; with exact letters a character cut by
    // an end is taken whole. With breaks, each "||" becomes CR LF as ExpandLineBreaks makes it.
    std::string Utf8(std::size_t from, std::size_t to, bool breaks = false) const;

private:
    std::size_t CharAt(std::size_t offset) const;

    std::string FMain;
    // The byte offset of every character, and the main text's size at the end.
    std::vector<std::size_t> FStarts;
    std::vector<std::string> FLetters;
    bool FExact = false;
};

// How line breaks of a card text are shown: as the stored "||" or as CR LF.
enum class TCardBreaks { Bars, CrLf };

// The text the card list, the card menu and exported cards show for a card: its part of the
// main text (as CardTextPart cuts it) in UTF-8, with the exact letters where it keeps them.
std::string ShownCardText(const TPlayCardItem& card, TCardBreaks breaks = TCardBreaks::Bars);

// The text pane's text for a card that keeps its exact text: ExpandLineBreaks(main text) in
// UTF-8, character for character, so that the pane's byte offsets map onto it. Empty when
// the card keeps none: its bytes are shown as they decode.
std::string ExactMainLines(const TPlayCardItem& card);

// How many bytes of a UTF-8 text fit in maxBytes as code page 932 stores it, cut before a
// character that does not fit whole.
std::size_t StoredPrefixLength(const std::string& utf8, std::size_t maxBytes);

}  // namespace olve
