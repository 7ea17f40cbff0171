#include "title/play_package.h"

#include <unordered_map>

#include "codec/compress_string_list.h"
#include "title/file_type.h"
#include "title/card_line.h"
#include "codec/comma_text.h"
#include "places/settings_vocabulary.h"
#include "title/setting_lines.h"

namespace olve {

namespace {

constexpr std::size_t MakerHistoryLimit = 20;

// Texts that repeat across cards are written once, in a table, and referred to by index.
class TTextTable {
public:
    int IndexOf(const std::string& text)
    {
        const auto [it, added] = FIndex.try_emplace(text, static_cast<int>(FTexts.size()));
        if (added)
            FTexts.push_back(text);
        return it->second;
    }
    void AppendLines(TStringList& lines, const std::string& name) const
    {
        for (const std::string& text : FTexts)
            lines.Add(name + "=" + text);
    }

private:
    std::vector<std::string> FTexts;
    std::unordered_map<std::string, int> FIndex;
};

std::string TrimRight(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(0, end);
}

// A tag holding a text becomes the index of that text in the table.
void TagToIndex(TPlayCardItem& card, const char* tag, TTextTable& table)
{
    const std::string value = GetTag(card.DataText, tag);
    if (!value.empty())
        card.DataText = SetTag(card.DataText, tag, std::to_string(table.IndexOf(value)));
}

void MainTextToIndex(TPlayCardItem& card, TTextTable& table)
{
    const std::string text = TrimRight(card.MainText);
    if (!text.empty())
        card.MainText = std::to_string(table.IndexOf(text));
}

void WriteMakerHistory(TStringList& lines, const std::string& user, const std::string& makers)
{
    std::vector<std::string> history = CommaTextSplit(makers);
    if (!history.empty() && history.back() != user) {
        if (history.size() > MakerHistoryLimit) {
            for (int k = 1; k <= 99; ++k) {
                // Archived histories: "VolMaker01" to "VolMaker99".
                const std::string key = std::string(MakerKey) + (k < 10 ? "0" : "") + std::to_string(k);
                if (IndexOfName(lines, key) < 0) {
                    SetValueOrDelete(lines, key, makers);
                    break;
                }
            }
            history.clear();
        }
        history.push_back(user);
    } else if (history.empty()) {
        history.push_back(user);
    }
    SetValueOrDelete(lines, MakerKey, CommaTextJoin(history));
}

}  // namespace

bool TPlayPackage::SaveToFile(const std::string& fileName, const std::string& user, const std::string& titleUser,
                              const std::string& makers)
{
    const std::string fileType = TitleFileType(fileName);
    if (fileType == UnknownFileTypeWord)
        return false;
    TCompressStringList lines;
    const bool written = BuildLines(lines, user, titleUser, makers, fileType) && lines.SaveToFile(fileName) == 0;
    ClearHistories();
    return written;
}

bool TPlayPackage::BuildLines(TStringList& lines, const std::string& user, const std::string& titleUser,
                              const std::string& makers, const std::string& fileType) const
{
    const int serialLine = IndexOfName(Settings, SerialKey);
    const std::string serial = serialLine < 0 ? std::string() : ValueOf(Settings[serialLine]);
    if (serial.empty())
        return false;

    lines.BeginUpdate();
    for (int i = 0; i < Settings.Count(); ++i)
        if (i != serialLine)
            lines.Add(Settings[i]);
    SetValueOrDelete(lines, FileTypeKey, fileType);
    SetValueOrDelete(lines, TimeFormatKey, TimeFormatWord(TimeFormat));
    SetValueOrDelete(lines, UserKey, titleUser.empty() ? user : titleUser);
    WriteMakerHistory(lines, user, makers);

    TTextTable stkd;
    for (int i = 0; i < VcdCards.Count(); ++i) {
        TPlayCardItem card = VcdCards.GetCard(i);
        TagToIndex(card, "SDR", stkd);
        lines.Add("VCD=" + FormatCardLine(card));
    }
    stkd.AppendLines(lines, "STKD");

    TTextTable mainTexts;
    for (int i = 0; i < KhgCards.Count(); ++i) {
        TPlayCardItem card = KhgCards.GetCard(i);
        MainTextToIndex(card, mainTexts);
        lines.Add("KHG=" + FormatCardLine(card));
    }

    TTextTable directions;
    for (int i = 0; i < KhsCards.Count(); ++i) {
        TPlayCardItem card = KhsCards.GetCard(i);
        TagToIndex(card, "KSD", directions);
        MainTextToIndex(card, mainTexts);
        lines.Add("KHS=" + FormatCardLine(card));
    }
    directions.AppendLines(lines, "KHSDirections");

    std::vector<TPlayCardItem> mainCards;
    mainCards.reserve(static_cast<std::size_t>(MainCards.Count()));
    for (int i = 0; i < MainCards.Count(); ++i) {
        mainCards.push_back(MainCards.GetCard(i));
        MainTextToIndex(mainCards.back(), mainTexts);
    }
    mainTexts.AppendLines(lines, "MTX");
    lines.Add(NamedLine(SerialKey, serial));
    for (const TPlayCardItem& card : mainCards)
        lines.Add(FormatCardLine(card));
    lines.EndUpdate();
    return true;
}

}  // namespace olve
