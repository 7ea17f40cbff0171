#pragma once
#include <string>
#include <vector>

namespace olve {

// A card of a title made from a transcript: its English and the translation paired with it
// (UTF-8), empty when none could be paired surely.
struct TTranscriptCard {
    std::string English;
    std::string Japanese;

    bool operator==(const TTranscriptCard&) const = default;
};

// Cuts a transcript into cards and pairs them with the lines of a translation (both UTF-8;
// an empty translation pairs nothing). A translation never shifts onto a neighbour's card:
// - When both have as many non-empty lines, each line is a card with its line, unless an
//   English line runs on into the next while its Japanese line ends a sentence (then the
//   lines are wrapped text, not the translation's lines).
// - Otherwise the English is cut into sentences. Where its lines, run together up to the
//   end of a sentence, are as many as the Japanese lines, each such run goes with its line:
//   sentence by sentence when the line holds as many sentences (by 。！？), else as one card.
//   Where the whole texts hold as many sentences, they pair one by one.
// - Failing that, paragraphs (parted by blank lines) are paired alone when both texts have
//   as many; the sentences of a paragraph that cannot be paired get no translation.
std::vector<TTranscriptCard> TranscriptCards(const std::string& transcript, const std::string& translation);

// The sentences of a line of Japanese: each ends at 。！？ (or ． ! ?) and the closing marks
// after it; text after the last stop is one more.
std::vector<std::string> JapaneseSentences(const std::string& line);

}  // namespace olve
