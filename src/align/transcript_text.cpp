#include "align/transcript_text.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>

namespace olve {

namespace {

// Quotes and brackets that close after a sentence's stop and belong to it.
constexpr std::string_view ClosingMarks[] = {"\"", "'", ")", "]", "\u201D", "\u2019", "\u00BB", "\uFF09", "\u300D", "\u300F"};

// The bytes of the closing mark at text[at], 0 for none.
std::size_t ClosingAt(const std::string& text, std::size_t at)
{
    for (const std::string_view mark : ClosingMarks)
        if (text.compare(at, mark.size(), mark) == 0)
            return mark.size();
    return 0;
}

// The bytes of the closing mark that ends text[0, end), 0 for none.
std::size_t ClosingBefore(const std::string& text, std::size_t end)
{
    for (const std::string_view mark : ClosingMarks)
        if (end >= mark.size() && text.compare(end - mark.size(), mark.size(), mark) == 0)
            return mark.size();
    return 0;
}

bool IsStop(char c)
{
    return c == '.' || c == '!' || c == '?';
}

// Where the sentence ending at text[end] (. ! ?) really ends, past closing quotes; npos when
// the mark ends no sentence.
std::size_t SentenceEnd(const std::string& text, std::size_t at)
{
    static const char* const titles[] = {"mr", "mrs", "ms", "dr", "st", "jr", "sr", "prof", "vs", "etc"};
    if (text[at] == '.') {
        std::size_t start = at;
        while (start > 0 && std::isalpha(static_cast<unsigned char>(text[start - 1])))
            --start;
        std::string word = text.substr(start, at - start);
        std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
        if (std::find(std::begin(titles), std::end(titles), word) != std::end(titles) || word.size() == 1)
            return std::string::npos;
    }
    std::size_t end = at + 1;
    while (end < text.size()) {
        const std::size_t closing = ClosingAt(text, end);
        if (closing == 0 && !IsStop(text[end]))
            break;
        end += closing > 0 ? closing : 1;
    }
    return end;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

void SplitParagraph(const std::string& paragraph, std::vector<std::string>& sentences)
{
    std::size_t begin = 0;
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
        if (paragraph[i] != '.' && paragraph[i] != '!' && paragraph[i] != '?')
            continue;
        const std::size_t end = SentenceEnd(paragraph, i);
        if (end == std::string::npos || (end < paragraph.size() && paragraph[end] != ' '))
            continue;
        const std::string sentence = Trimmed(paragraph.substr(begin, end - begin));
        if (!sentence.empty())
            sentences.push_back(sentence);
        begin = end;
        i = end - 1;
    }
    const std::string rest = Trimmed(paragraph.substr(begin));
    if (!rest.empty())
        sentences.push_back(rest);
}

}  // namespace

bool EndsSentence(const std::string& line)
{
    std::size_t end = line.find_last_not_of(" \t\r\n") + 1;
    while (std::size_t closing = ClosingBefore(line, end))
        end -= closing;
    return end > 0 && IsStop(line[end - 1]);
}

std::vector<std::string> TranscriptSentences(const std::string& text)
{
    std::vector<std::string> sentences;
    std::istringstream lines(text);
    std::string line, paragraph;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (!line.empty())
            paragraph += (paragraph.empty() ? "" : " ") + line;
        if (line.empty() || EndsSentence(line)) {
            SplitParagraph(paragraph, sentences);
            paragraph.clear();
        }
    }
    SplitParagraph(paragraph, sentences);
    return sentences;
}

std::vector<TTextWord> SentenceWords(const std::string& sentence)
{
    std::vector<TTextWord> words;
    const auto isWordByte = [&](std::size_t i) {
        const unsigned char c = sentence[i];
        if (std::isalnum(c) || c >= 0x80)
            return true;
        return c == '\'' && i > 0 && i + 1 < sentence.size() && std::isalpha(static_cast<unsigned char>(sentence[i - 1])) &&
               std::isalpha(static_cast<unsigned char>(sentence[i + 1]));
    };
    for (std::size_t i = 0; i < sentence.size();) {
        if (!isWordByte(i)) {
            ++i;
            continue;
        }
        TTextWord word{i, std::string()};
        for (; i < sentence.size() && isWordByte(i); ++i)
            word.Text += static_cast<char>(std::tolower(static_cast<unsigned char>(sentence[i])));
        words.push_back(word);
    }
    return words;
}

}  // namespace olve
