#include "titlemaker/card_export.h"

#include <cctype>
#include <cstdio>

#include "storage/card_text.h"
#include "storage/cp932_text.h"
#include "title/shown_card_text.h"

namespace olve {

namespace {

// A card's text (UTF-8, CR LF between lines) as a field: HTML escaped, line breaks as "<br>",
// no tab or line end left.
std::string Field(const std::string& text)
{
    std::string field;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            field += "<br>";
            ++i;
        } else if (c == '\r' || c == '\n') {
            field += "<br>";
        } else if (c == '\t') {
            field += ' ';
        } else if (c == '&') {
            field += "&amp;";
        } else if (c == '<') {
            field += "&lt;";
        } else if (c == '>') {
            field += "&gt;";
        } else {
            field += c;
        }
    }
    return field;
}

// Letters and digits of the name kept (any script), the rest as "_".
std::string TagName(const std::string& name)
{
    std::string tag;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        tag += (b >= 0x80 || std::isalnum(b)) ? c : '_';
    }
    return tag.empty() ? "title" : tag;
}

}  // namespace

std::vector<TExportedCard> ExportedCards(const TPlayCardList& cards, const std::string& titleName)
{
    const std::string stem = TagName(titleName);
    std::vector<TExportedCard> exported;
    for (int i = 0; i < cards.Count(); ++i) {
        const TPlayCardItem& card = cards.Card(i);
        char number[16];
        std::snprintf(number, sizeof number, "%03d", i + 1);
        std::string picture = Cp932ToUtf8(card.Picture);
        for (char& c : picture)
            if (c == '\\')
                c = '/';
        exported.push_back({Field(ShownCardText(card, TCardBreaks::CrLf)),
                            Field(Cp932ToUtf8(ExpandLineBreaks(card.SubText))),
                            stem + "-" + number + ".ogg", cards.StartUnits(i), cards.EndUnits(i), picture,
                            stem + "_" + number});
    }
    return exported;
}

std::string CardsTsv(const std::vector<TExportedCard>& cards)
{
    std::string tsv;
    for (const TExportedCard& card : cards) {
        const std::size_t slash = card.Picture.rfind('/');
        const std::string picture = slash == std::string::npos ? card.Picture : card.Picture.substr(slash + 1);
        tsv += card.English + "\t" + card.Japanese + "\t[sound:" + card.Clip + "]\t" + picture + "\t" + card.Tag + "\n";
    }
    return tsv;
}

}  // namespace olve
