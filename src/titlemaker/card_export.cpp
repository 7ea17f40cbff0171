#include "titlemaker/card_export.h"

#include <cctype>
#include <cstdio>

#include "media/ogg_clip.h"
#include "codec/card_text.h"
#include "codec/cp932_text.h"
#include "title/shown_card_text.h"
#include "titlemaker/title_picture.h"

namespace olve {

namespace {

// Bytes of the title kept in file names: with the card's number, its kind and a counter the
// name stays well below the 255 bytes a file name may have.
constexpr std::size_t MaxStemBytes = 80;

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

// Letters and digits of the name kept (any script), the rest as "_"; cut at a whole
// character.
std::string TagName(const std::string& name)
{
    std::string tag;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (tag.size() >= MaxStemBytes && (b & 0xC0) != 0x80)
            break;
        tag += (b >= 0x80 || std::isalnum(b)) ? c : '_';
    }
    return tag.empty() ? "title" : tag;
}

// A field as importers read it: one that begins with "=", "+", "-" or "@" would be taken
// for a formula by a spreadsheet, so its first character is written as an HTML character
// reference (the fields are HTML, so flashcard programs still show the character); one
// with a quote is quoted, its quotes doubled.
std::string SafeField(std::string field)
{
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@'))
        field.replace(0, 1, "&#" + std::to_string(static_cast<int>(field[0])) + ";");
    if (field.find('"') == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
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
        TExportedCard item;
        item.English = Field(ShownCardText(card, TCardBreaks::CrLf));
        item.Japanese = Field(Cp932ToUtf8(ExpandLineBreaks(card.SubText)));
        item.Name = stem + "-" + number;
        item.FromMs = cards.StartUnits(i);
        item.ToMs = cards.EndUnits(i);
        item.Picture = picture;
        item.Tag = stem + "_" + number;
        exported.push_back(item);
    }
    return exported;
}

std::string CardsTsv(const std::vector<TExportedCard>& cards)
{
    std::string tsv;
    for (const TExportedCard& card : cards)
        if (!card.Clip.empty())
            tsv += SafeField(card.English) + "\t" + SafeField(card.Japanese) + "\t[sound:" + card.Clip + "]\t" +
                   card.PictureFile + "\t" + card.Tag + "\n";
    return tsv;
}

bool TCardExport::Write(TExportedCard& card)
{
    if (!WriteClip(card))
        return false;
    if (!card.Picture.empty() && CopyPicture(card))
        ++FPictures;
    return true;
}

bool TCardExport::AppendTsv(const std::vector<TExportedCard>& cards, std::string& error)
{
    const std::string lines = CardsTsv(cards);
    return lines.empty() || FFolder.AppendToCardsTsv(lines, error);
}

bool TCardExport::WriteClip(TExportedCard& card)
{
    std::string error;
    std::int64_t writtenToMs = card.ToMs;
    const std::string temporary = FFolder.NewTemporary(error);
    if (!temporary.empty() && WriteOggClip(FSource.MediaPath, card.FromMs, card.ToMs, temporary, writtenToMs, error))
        card.Clip = FFolder.Publish(temporary, card.Name, ".ogg", error);
    else if (!temporary.empty())
        std::remove(temporary.c_str());
    if (card.Clip.empty()) {
        FProblems.push_back(card.Name + ".ogg: " + error);
        return false;
    }
    if (writtenToMs < card.ToMs)
        FNotes.push_back(card.Clip + ": the recording's sound ends at " + std::to_string(writtenToMs) +
                         " ms, before the card's end at " + std::to_string(card.ToMs) + " ms; the clip ends there");
    card.ToMs = writtenToMs;
    return true;
}

bool TCardExport::CopyPicture(TExportedCard& card)
{
    std::string error;
    const std::string found = TitlePicture(FSource.TitleFolder, card.Picture, error);
    if (!found.empty())
        card.PictureFile = FFolder.CopyIn(found, card.Name + "-picture", PictureExtension(card.Picture), error);
    if (card.PictureFile.empty())
        FProblems.push_back(card.Name + ": " + error);
    return !card.PictureFile.empty();
}

}  // namespace olve
