#include "title/card_text_bound.h"

#include "codec/cp932_text.h"

namespace olve {

namespace {

// The end of the last whole character that lies within limit bytes.
std::size_t CharacterEnd(const std::string& text, std::size_t limit)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < limit;) {
        const std::size_t next = i + (IsLeadByte(static_cast<std::uint8_t>(text[i])) ? 2 : 1);
        if (next > limit)
            break;
        end = i = next;
    }
    // Half of the "||" line-break mark would be shown as it is.
    if (end > 0 && text[end - 1] == '|' && text.compare(end - 1, 2, "||") == 0)
        --end;
    return end;
}

const std::string& CutNote()
{
    static const std::string note = Utf8ToCp932(" … (以下省略 text cut)");
    return note;
}

}  // namespace

std::string BoundCardText(const std::string& text)
{
    if (text.size() <= CardTextBoundBytes)
        return text;
    return text.substr(0, CharacterEnd(text, CardTextBoundBytes - CutNote().size())) + CutNote();
}

void BoundCardTexts(TPlayCardList& cards)
{
    for (int i = 0; i < cards.Count(); ++i) {
        const TPlayCardItem& card = cards.Card(i);
        if (card.MainText.size() > CardTextBoundBytes)
            cards.SetMainText(i, BoundCardText(card.MainText));
        if (card.SubText.size() > CardTextBoundBytes)
            cards.SetSubText(i, BoundCardText(card.SubText));
    }
}

}  // namespace olve
