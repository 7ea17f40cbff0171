#include "title/card_menu.h"

#include <algorithm>
#include <cstdio>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "title/shown_card_text.h"

namespace olve {

namespace {

constexpr int FlatMenuLimit = 33;
constexpr int GroupSize = 32;
constexpr int ColumnSize = 1024;
constexpr int MenuCardLimit = 4096;
constexpr std::size_t LabelBytes = 50;

// A menu item holds one line: each line break shows as a blank.
std::string OneLine(std::string line)
{
    for (std::size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n", at + 1))
        line.replace(at, 2, " ");
    return line;
}

std::string CutLabel(const std::string& text)
{
    const std::size_t cut = StoredPrefixLength(text, LabelBytes);
    return cut == text.size() ? text : text.substr(0, cut) + "･･";
}

std::string CardText(const TPlayCardItem& card)
{
    std::string label = OneLine(ShownCardText(card, TCardBreaks::CrLf));
    if (label.empty() && !card.SubText.empty())
        return "/" + Cp932ToUtf8(card.SubText) + "/";
    if (label.empty()) {
        const std::string extra = GetTag(card.DataText, "EES");
        if (!extra.empty())
            return "[" + Cp932ToUtf8(extra) + "]";
    }
    return label;
}

}  // namespace

std::vector<TCardMenuGroup> CardMenuGroups(int count)
{
    std::vector<TCardMenuGroup> groups;
    if (count < FlatMenuLimit)
        return groups;
    const int listed = std::min(count, MenuCardLimit);
    for (int first = 0; first < listed; first += GroupSize) {
        const int end = std::min(listed, first + GroupSize);
        char caption[32];
        std::snprintf(caption, sizeof caption, "%3d ～ %3d", first + 1, end);
        groups.push_back({first, end - 1, caption, first > 0 && first % ColumnSize == 0});
    }
    return groups;
}

int CardMenuGroupOf(const std::vector<TCardMenuGroup>& groups, int card)
{
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].First <= card && card <= groups[i].Last)
            return static_cast<int>(i);
    return -1;
}

std::string CardMenuLabel(const TPlayCardItem& card, int index)
{
    char number[16];
    std::snprintf(number, sizeof number, "%3d", index + 1);
    return std::string(number) + "  " + CutLabel(CardText(card));
}

TCardRange LoopCards(int currentCard, const std::vector<TCardRange>& chosenRows)
{
    const int current = std::max(currentCard, 0);
    TCardRange cards{current, current};
    for (const TCardRange& rows : chosenRows)
        if (rows.Last > rows.First)
            cards = {std::max(rows.First, 1) - 1, rows.Last - 1};
    return cards;
}

}  // namespace olve
