#pragma once
#include <string>
#include <vector>

namespace olve {

// How a run of digits is read out ("1905" -> "nineteen oh five" is not attempted: numbers are
// read as amounts, "one thousand nine hundred five"). Empty when the run is too long to read.
std::vector<std::string> SpokenNumber(const std::string& digits);

// A rough pronunciation (recognizer phones, space-separated) spelled from a word's letters, for
// names and other words the dictionary lacks. Empty when the word has no ASCII letter.
std::string SpelledPhones(const std::string& word);

}  // namespace olve
