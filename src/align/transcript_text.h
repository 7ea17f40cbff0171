#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace olve {

// True when a line (UTF-8) ends a sentence: . ! ? last, or a closing quote or bracket after
// one ("\"", "'", ")", "]", curly quotes, "»", "）", "」", "』").
bool EndsSentence(const std::string& line);

// The sentences of a transcript (UTF-8), in order. A line that ends a sentence stands alone; a line that does not runs on into the next
// unless a blank line follows, so both one sentence a line and wrapped running text work. Inside
// a line, sentences end at . ! ? (and the closing marks after them) followed by a space,
// except after a short title ("Mr.").
std::vector<std::string> TranscriptSentences(const std::string& text);

// A word of a sentence as written: its byte offset in the sentence and its letters, digits
// and inner apostrophes, lower-cased (ASCII).
struct TTextWord {
    std::size_t Offset = 0;
    std::string Text;
};

// The words of a sentence; punctuation and other marks are not words.
std::vector<TTextWord> SentenceWords(const std::string& sentence);

}  // namespace olve
