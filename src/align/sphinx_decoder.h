#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "align/sphinx_library.h"

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

    // Aligns 16 kHz samples with a run of the words that starts at words[entries[0]] or, at a
    // cost, at one of the other entries (places the reader may have got to: the next sentences,
    // a word or two on, or back where the stretch before took words wrongly) and may end
    // anywhere. False with a reason when nothing in the stretch matched.
    bool AlignStretch(const std::int16_t* samples, std::size_t count, const std::vector<std::string>& words,
                      const std::vector<std::size_t>& entries, std::vector<TPlacedWord>& placed, std::string& error);

private:
    bool SetGrammar(const std::vector<std::string>& words, const std::vector<std::size_t>& entries,
                    std::string& error);
    std::vector<TPlacedWord> PlacedWords(const std::vector<std::string>& words, const std::vector<std::size_t>& entries);

    TSphinxLibrary FSphinx;
    ps_decoder_t* FDecoder = nullptr;
};

}  // namespace olve
