#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "title/play_card_list.h"

namespace olve {

// A stretch of the recording in the player's units.
struct TSegment {
    std::int64_t From = 0;
    std::int64_t To = 0;

    bool operator==(const TSegment&) const = default;
};

// The spoken part of a card's main text in bytes, clamped to the text, and the byte the
// speaker has reached at a position: the range moves through it at an even pace.
struct TSpokenRange {
    std::int64_t Start = 0;
    std::int64_t Length = 0;
    std::int64_t Reached = 0;

    bool operator==(const TSpokenRange&) const = default;
};

// A part of a card's main text in bytes.
struct TTextPart {
    std::int64_t Start = 0;
    std::int64_t Length = 0;

    bool operator==(const TTextPart&) const = default;
};

// A word of a card whose words carry their times: its bytes in the main text, blanks after
// it left out, and when it begins, in player units from the card's start.
struct TWordSpan {
    TTextPart Text;
    std::int64_t At = 0;

    bool operator==(const TWordSpan&) const = default;
};

// Where a title's cards lie in the recording. Every card is converted into player units
// once, by its own time format, when the cards are assigned; the segment sent to the player
// and the card found at the player's position both read that one table, so a card's play
// always ends where its lookup ends.
class TCardTimeline {
public:
    // Only the first VCD card counts: it spans the whole lesson.
    void Assign(const TPlayCardList& mainCards, const TPlayCardList& vcdCards);

    int Count() const { return static_cast<int>(FCards.size()); }
    std::int64_t StartOf(int i) const { return FCards[static_cast<std::size_t>(i)].Start; }
    std::int64_t EndOf(int i) const { return FCards[static_cast<std::size_t>(i)].End; }

    // What playing card n sends to a recording of the given length. With automatic pause the
    // card alone; otherwise from the card to the VCD card's end, or to the last card's end
    // when there is no VCD card. Below the first card (the top) it is the first card, or the
    // whole VCD card when there is one and no automatic pause. None past the last card.
    std::optional<TSegment> Segment(int n, bool autoPause, std::int64_t length) const;

    // The new end of a running play when automatic pause is switched: the current card's end
    // when it goes on, the end of the whole play when it goes off. There must be cards.
    std::int64_t AutoPauseEnd(int current, bool autoPause, std::int64_t length) const;

    // The first card from index `from` on that holds the position (its start in, its end
    // out), -1 in a gap. A play that has stopped at its end stands on the next card's start:
    // the position playEnd belongs to no card, so that card does not light up.
    int CardAt(std::int64_t position, std::int64_t playEnd, int from = 0) const;

    // Card i's spoken range at a position inside it. With word times the speaker has reached
    // the start of the word being spoken.
    TSpokenRange Spoken(int i, std::int64_t position) const;

    // Card i's words with their times; empty when the card does not time its words.
    const std::vector<TWordSpan>& Words(int i) const { return FCards[static_cast<std::size_t>(i)].Words; }
    // The word being spoken at a position inside card i; -1 before its first word or without
    // word times.
    int WordAt(int i, std::int64_t position) const;
    // What to underline at a position inside card i: the word being spoken (nothing before
    // the first word) when the card times its words, else its spoken range.
    TTextPart Underline(int i, std::int64_t position) const;
    // The first position after `position` at which a card starts or ends, or in card i (the
    // card holding the position, -1 for none) the next timed word begins; -1 when none does.
    std::int64_t NextChange(std::int64_t position, int i) const;
    // The first position after `position` at which the speaker reaches the next byte of card
    // i at its even pace; -1 for a card that times its words or has nothing left to reach.
    std::int64_t NextReachedByte(int i, std::int64_t position) const;
    // Where to play card i from so that the word holding a byte of the main text comes first:
    // the card's start for a byte before its first timed word or a card without word times.
    std::int64_t StartOfWordAt(int i, std::int64_t offset) const;

private:
    struct TCardSpan {
        std::int64_t Start = 0;
        std::int64_t End = 0;
        std::int64_t SpokenStart = 0;
        std::int64_t SpokenLength = 0;
        std::vector<TWordSpan> Words;
    };
    std::vector<TCardSpan> FCards;
    // Every card's start and end, in order: where the card at a position can change.
    std::vector<std::int64_t> FBoundaries;
    std::optional<TSegment> FVcd;

    TSegment Span(int first, int last) const { return {StartOf(first), EndOf(last)}; }
};

}  // namespace olve
