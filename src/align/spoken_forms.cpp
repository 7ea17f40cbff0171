#include "align/spoken_forms.h"

#include <cctype>
#include <cstring>

namespace olve {

namespace {

const char* const Ones[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine",
                            "ten", "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen",
                            "seventeen", "eighteen", "nineteen"};
const char* const Tens[] = {"", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy", "eighty", "ninety"};

void BelowThousand(long n, std::vector<std::string>& words)
{
    if (n >= 100) {
        words.push_back(Ones[n / 100]);
        words.push_back("hundred");
        n %= 100;
        if (n == 0)
            return;
    }
    if (n >= 20) {
        words.push_back(Tens[n / 10]);
        if (n % 10)
            words.push_back(Ones[n % 10]);
    } else {
        words.push_back(Ones[n]);
    }
}

struct TLetterPhones {
    const char* Letters;
    const char* Phones;
};

// Longer spellings first, so "th" wins over "t".
const TLetterPhones Spellings[] = {
    {"tch", "CH"}, {"th", "TH"}, {"sh", "SH"}, {"ch", "CH"}, {"ph", "F"}, {"ck", "K"}, {"ng", "NG"},
    {"qu", "K W"}, {"ee", "IY"}, {"ea", "IY"}, {"oo", "UW"}, {"ou", "AW"}, {"ai", "EY"}, {"ay", "EY"},
    {"oa", "OW"}, {"a", "AE"}, {"b", "B"}, {"c", "K"}, {"d", "D"}, {"e", "EH"}, {"f", "F"}, {"g", "G"},
    {"h", "HH"}, {"i", "IH"}, {"j", "JH"}, {"k", "K"}, {"l", "L"}, {"m", "M"}, {"n", "N"}, {"o", "AA"},
    {"p", "P"}, {"q", "K"}, {"r", "R"}, {"s", "S"}, {"t", "T"}, {"u", "AH"}, {"v", "V"}, {"w", "W"},
    {"x", "K S"}, {"y", "IY"}, {"z", "Z"}};

}  // namespace

std::vector<std::string> SpokenNumber(const std::string& digits)
{
    if (digits.empty() || digits.size() > 9)
        return {};
    const long n = std::stol(digits);
    std::vector<std::string> words;
    if (n >= 1000000) {
        BelowThousand(n / 1000000, words);
        words.push_back("million");
    }
    if (n / 1000 % 1000) {
        BelowThousand(n / 1000 % 1000, words);
        words.push_back("thousand");
    }
    if (n % 1000 || n == 0)
        BelowThousand(n % 1000, words);
    return words;
}

std::string SpelledPhones(const std::string& word)
{
    std::string phones;
    std::string last;
    for (std::size_t i = 0; i < word.size();) {
        const TLetterPhones* found = nullptr;
        for (const TLetterPhones& spelling : Spellings)
            if (word.compare(i, std::strlen(spelling.Letters), spelling.Letters) == 0) {
                found = &spelling;
                break;
            }
        if (!found) {
            ++i;
            continue;
        }
        i += std::strlen(found->Letters);
        // A doubled letter is one sound.
        if (found->Phones == last)
            continue;
        last = found->Phones;
        phones += (phones.empty() ? "" : " ") + last;
    }
    return phones;
}

}  // namespace olve
