#include "codec/string_list.h"

#include <stdexcept>

namespace olve {

std::size_t TStringList::CheckedIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("TStringList index " + std::to_string(index));
    return static_cast<std::size_t>(index);
}

void TStringList::Changed()
{
    if (FUpdateCount > 0) {
        FChangedDuringUpdate = true;
        return;
    }
    if (OnChange)
        OnChange();
}

void TStringList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedDuringUpdate) {
        FChangedDuringUpdate = false;
        Changed();
    }
}

int TStringList::Add(const std::string& line)
{
    FLines.push_back(line);
    Changed();
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& line)
{
    if (index != Count())
        CheckedIndex(index);
    FLines.insert(FLines.begin() + index, line);
    Changed();
}

void TStringList::Delete(int index)
{
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index)));
    Changed();
}

void TStringList::Put(int index, const std::string& line)
{
    FLines[CheckedIndex(index)] = line;
    Changed();
}

void TStringList::Clear()
{
    if (FLines.empty())
        return;
    FLines.clear();
    Changed();
}

void TStringList::Assign(std::vector<std::string> lines)
{
    FLines = std::move(lines);
    Changed();
}

std::string TStringList::Text() const
{
    std::size_t size = 0;
    for (const auto& line : FLines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : FLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = n;
        lines.emplace_back(text, start, end - start);
        if (end < n && text[end] == '\r')
            ++end;
        if (end < n && text[end] == '\n')
            ++end;
        start = end;
    }
    Assign(std::move(lines));
}

}  // namespace olve
