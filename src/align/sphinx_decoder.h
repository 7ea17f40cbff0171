#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ps_decoder_s;

namespace olve {

// A dictionary word the recognizer placed: its place in the words it was given and its time in
// the stretch (ms from the stretch's first sample).
struct TPlacedWord {
    std::size_t Index = 0;
    std::int64_t StartMs = 0;
    std::int64_t EndMs = 0;
};

// The offline recognizer with the US English model, used only to align known words.
class TSphinxDecoder {
public:
    TSphinxDecoder();
    ~TSphinxDecoder();
    TSphinxDecoder(const TSphinxDecoder&) = delete;
    TSphinxDecoder& operator=(const TSphinxDecoder&) = delete;

    // Loads the model. False with a reason (English) when it is missing or broken.
    bool Open(std::string& error);

    // The dictionary words a written word is read as: itself, a number read out, or, for a
    // word the dictionary lacks, itself with a pronunciation spelled from its letters. Empty
    // when it cannot be read at all.
    std::vector<std::string> DictionaryWords(const std::string& word);

    // Aligns 16 kHz samples with the words that begin at words[0]: the stretch holds a run of
    // them from the start (up to MaxSkippedWords may be passed over there, when the stretch
    // before took them wrongly) and may end anywhere. False with a reason when nothing in the
    // stretch matched.
    bool AlignStretch(const std::int16_t* samples, std::size_t count, const std::vector<std::string>& words,
                      std::vector<TPlacedWord>& placed, std::string& error);

    static constexpr std::size_t MaxSkippedWords = 2;

private:
    bool SetGrammar(const std::vector<std::string>& words, std::string& error);
    std::vector<TPlacedWord> PlacedWords(const std::vector<std::string>& words);

    ps_decoder_s* FDecoder = nullptr;
};

}  // namespace olve
