#include "title/play_package.h"

#include <algorithm>
#include <filesystem>

#include "codec/compress_string_list.h"
#include "title/file_type.h"
#include "codec/cp932_text.h"
#include "title/card_line.h"
#include "codec/comma_text.h"
#include "places/settings_vocabulary.h"
#include "title/setting_lines.h"
#include "title/time_format_conversion.h"

namespace olve {

namespace {

// A word that names no format, or none, is TMSF: the format of titles older than the key.
TOlveTimeFormat TimeFormatOfWord(const std::string& word)
{
    const auto found = std::find(TimeFormatWords.begin(), TimeFormatWords.end(), word);
    return found == TimeFormatWords.end() ? otfTMSF
                                          : static_cast<TOlveTimeFormat>(found - TimeFormatWords.begin());
}

bool IsTagLineName(const std::string& name)
{
    for (const char* tag : {"MTX", "VCD", "KHS", "KHG", "KHSDirections", "STKD"})
        if (name == tag)
            return true;
    return false;
}

// Resolves a tag holding a table index into the table's text.
std::string ResolveTag(const std::string& dataText, const char* tag, const std::vector<std::string>& table)
{
    const int n = DecimalOr(GetTag(dataText, tag), -1);
    if (n < 0 || n >= static_cast<int>(table.size()))
        return dataText;
    return SetTag(dataText, tag, table[n]);
}

bool HasExtension(const std::string& fileName, const char* extension)
{
    return SameAsciiIgnoringCase(std::filesystem::path(fileName).extension().string(), extension);
}

// Card lines of a title that is being converted from TMSF hold TMSF positions, whatever
// the player says of its media.
class TTmsfMedia : public TMediaTimeFormats {
public:
    TOlveTimeFormat MediaTimeFormat(int) const override { return otfTMSF; }
};

std::string Normalised(const std::string& line)
{
    return CommaTextJoin(CardLineItems(line));
}

}  // namespace

std::vector<std::string> ReadTagRun(const TStringList& lines, const std::string& name)
{
    std::vector<std::string> values;
    int i = IndexOfName(lines, name);
    if (i < 0)
        return values;
    do {
        values.push_back(lines[i].substr(name.size() + 1));
        ++i;
    } while (i < lines.Count() && NameOf(lines[i]) == name);
    return values;
}

std::string_view TimeFormatWord(TOlveTimeFormat format)
{
    const auto row = static_cast<std::size_t>(format);
    return row < TimeFormatWords.size() ? TimeFormatWords[row] : TimeFormatWords[otfTMSF];
}

std::string TPlayPackage::GetSetting(std::string_view name) const
{
    const int i = IndexOfName(Settings, name);
    return i < 0 ? std::string() : ValueOf(Settings[i]);
}

void TPlayPackage::ClearHistories()
{
    MainCards.ClearHistory();
    VcdCards.ClearHistory();
}

TTitleLoadReport TPlayPackage::Load(const std::string& fileName, bool repair, TMediaType kind,
                                    const TTimeFormatConsent& consent)
{
    TTitleLoadReport report;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(fileName), ec))
        return {TTitleLoad::Missing, {}};
    MainCards.Clear();
    VcdCards.Clear();
    KhsCards.Clear();
    KhgCards.Clear();
    Settings.Clear();

    TCompressStringList lines;
    const bool decoded = !lines.LoadFromFile(fileName);
    FileName = fileName;
    if (!decoded)
        return {TTitleLoad::NotBdc, {}};
    std::vector<std::string> kept;
    for (const std::string& line : lines.Lines())
        if (!line.empty())
            kept.push_back(line);
    lines.Assign(std::move(kept));
    if (IndexOfName(lines, SerialKey) < 0)
        return {TTitleLoad::NoSerial, {}};

    const TConversion conversion = OfferConversion(lines, kind, consent);
    const TTmsfMedia tmsf;
    const TMediaTimeFormats* converted = conversion == TConversion::ToMilliseconds ? &tmsf : Player;
    ReadSettings(lines);
    ReadVcdCards(lines, converted);
    ReadCardRun(lines, "KHG", KhgCards, Player);
    ReadKhsCards(lines, converted);

    int first = IndexOfName(lines, SerialKey) + 1;
    if (HasExtension(fileName, ".wvp"))
        ++first;
    if (!CheckCardLines(lines, first, repair, report.Notes)) {
        report.Outcome = TTitleLoad::DamagedTimes;
        return report;
    }
    ReadMainCards(lines, first, converted);

    if (conversion == TConversion::ToMilliseconds) {
        ConvertToMilliseconds(MainCards);
        ConvertToMilliseconds(VcdCards);
        ConvertToMilliseconds(KhsCards);
    } else if (conversion == TConversion::ToTmsf) {
        ConvertToTmsf(MainCards);
        ConvertToTmsf(VcdCards);
        ConvertToTmsf(KhsCards);
    }
    ResolveMainTexts(lines);
    if (conversion != TConversion::None) {
        if (std::optional<TFailure> unregistered = UnregisteredFileType(FileName))
            report.Notes.push_back(std::move(*unregistered));
        SaveToFile(FileName, GetSetting(UserKey), GetSetting(UserKey), GetSetting(MakerKey));
    }
    return report;
}

TPlayPackage::TConversion TPlayPackage::OfferConversion(TStringList& lines, TMediaType kind,
                                                        const TTimeFormatConsent& consent)
{
    const int line = IndexOfName(lines, TimeFormatKey);
    TOlveTimeFormat format = TimeFormatOfWord(line < 0 ? std::string() : ValueOf(lines[line]));
    const auto allowed = [&](TOlveTimeFormat to) { return consent && consent({FileName, format, to}); };
    TConversion conversion = TConversion::None;
    if (format == otfTMSF && kind == mtVirtualCD && allowed(otfTrackMilliseconds)) {
        SetOrInsertFirst(lines, TimeFormatKey, TimeFormatWord(otfTrackMilliseconds));
        format = otfTrackMilliseconds;
        conversion = TConversion::ToMilliseconds;
    } else if (format == otfTrackMilliseconds && kind == mtAudioCD && allowed(otfTMSF)) {
        SetOrInsertFirst(lines, TimeFormatKey, TimeFormatWord(otfTMSF));
        format = otfTMSF;
        conversion = TConversion::ToTmsf;
    }
    TimeFormat = format;
    return conversion;
}

void TPlayPackage::ReadSettings(const TStringList& lines)
{
    const int serial = IndexOfName(lines, SerialKey);
    for (int i = 0; i <= serial; ++i) {
        const std::string& line = lines[i];
        const bool named = line.find('=') != std::string::npos;
        const std::string name = NameOf(line);
        if (named && IsTagLineName(name))
            continue;
        if (named && name != MaskKey && !GetSetting(name).empty())
            continue;
        Settings.Add(line);
    }
}

void TPlayPackage::ReadCardRun(const TStringList& lines, const std::string& name, TPlayCardList& cards,
                               const TMediaTimeFormats* formats) const
{
    for (const std::string& value : ReadTagRun(lines, name))
        cards.AddRec(ParseCardLine(value, formats));
}

void TPlayPackage::ReadVcdCards(const TStringList& lines, const TMediaTimeFormats* formats)
{
    ReadCardRun(lines, "VCD", VcdCards, formats);
    const std::vector<std::string> table = ReadTagRun(lines, "STKD");
    for (int i = 0; i < VcdCards.Count(); ++i)
        VcdCards.SetDataText(i, ResolveTag(VcdCards.Card(i).DataText, "SDR", table));
}

void TPlayPackage::ReadKhsCards(const TStringList& lines, const TMediaTimeFormats* formats)
{
    ReadCardRun(lines, "KHS", KhsCards, formats);
    for (int i = 0; i < KhsCards.Count(); ++i) {
        std::string tags = KhsCards.Card(i).DataText;
        const std::string old = GetTag(tags, "KGT");
        if (!tags.empty() && !old.empty()) {
            tags = SetTag(SetTag(tags, "KGT", ""), "KUT", old);
            KhsCards.SetDataText(i, tags);
        }
    }
    const std::vector<std::string> table = ReadTagRun(lines, "KHSDirections");
    for (int i = 0; i < KhsCards.Count(); ++i) {
        const std::string& tags = KhsCards.Card(i).DataText;
        const std::string resolved = ResolveTag(tags, "KSD", table);
        if (resolved != tags)
            KhsCards.SetDataText(i, resolved);
    }
}

bool TPlayPackage::CheckCardLines(TStringList& lines, int first, bool repair, std::vector<TFailure>& notes) const
{
    if (first >= lines.Count())
        return true;
    if (!repair) {
        for (int i = first; i < lines.Count(); ++i) {
            const std::vector<std::string> items = CardLineItems(lines[i]);
            lines.Put(i, CommaTextJoin(items));
            if (!HasEightNumbers(items))
                return i > first;
        }
        return true;
    }

    bool oldLayout = false;
    for (int i = first; i < lines.Count(); ++i) {
        lines.Put(i, Normalised(lines[i]));
        int value = 0;
        const std::vector<std::string> items = CardLineItems(lines[i]);
        if (!ParseDecimal(items[0], value) || !ParseDecimal(items[7], value))
            oldLayout = true;
    }
    if (oldLayout) {
        // The old layout put the main text first.
        for (int i = first; i < lines.Count(); ++i) {
            std::vector<std::string> items = CardLineItems(lines[i]);
            std::rotate(items.begin(), items.begin() + 1, items.begin() + 9);
            lines.Put(i, CommaTextJoin(items));
        }
    }
    for (int i = first; i < lines.Count(); ++i) {
        if (!HasEightNumbers(CardLineItems(lines[i]))) {
            // The English line has always been left blank here.
            notes.push_back({TFailureKind::Damaged, "再生時間データが破損しています", " ",
                             " file = " + FileName + " \r\n\r\n [" + std::to_string(i) + "] " + Cp932ToUtf8(lines[i])});
            return false;
        }
    }
    if (oldLayout)
        notes.push_back({TFailureKind::Damaged, "時間データが旧式だったので書き換えました", {}});
    return true;
}

void TPlayPackage::ReadMainCards(const TStringList& lines, int first, const TMediaTimeFormats* formats)
{
    for (int i = first; i < lines.Count(); ++i) {
        std::string line = lines[i];
        if (line[0] == ',')
            line = "\"\"" + line;
        if (line[0] != '"' && line.size() >= 2) {
            const std::size_t comma = line.find(',', 1);
            if (comma != std::string::npos)
                line = "\"" + line.substr(0, comma) + "\"" + line.substr(comma);
        }
        MainCards.AddRec(ParseCardLine(line, formats));
    }
}

void TPlayPackage::ResolveMainTexts(const TStringList& lines)
{
    const std::vector<std::string> table = ReadTagRun(lines, "MTX");
    for (TPlayCardList* cards : {static_cast<TPlayCardList*>(&MainCards), &KhsCards, &KhgCards}) {
        for (int i = 0; i < cards->Count(); ++i) {
            const int n = DecimalOr(cards->Card(i).MainText, -1);
            if (n >= 0 && n < static_cast<int>(table.size()))
                cards->SetMainText(i, table[n]);
        }
    }
}

}  // namespace olve
