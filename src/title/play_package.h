#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "files/failure.h"
#include "codec/string_list.h"
#include "timing/media_time_formats.h"
#include "title/play_card_list.h"
#include "title/time_format_change.h"
#include "title/undo_play_card_list.h"

namespace olve {

// What reading a title file came to.
enum class TTitleLoad {
    Loaded,
    Missing,       // no such file
    NotBdc,        // the file does not decode as BDC data (or cannot be read)
    NoSerial,      // no "VolSerialNum" line
    DamagedTimes,  // a card's times cannot be read
};

// What reading a title file came to, and what the learner is to be told of it: the damaged
// card line, or the repair of card lines of the old layout.
struct TTitleLoadReport {
    TTitleLoad Outcome = TTitleLoad::Loaded;
    std::vector<TFailure> Notes;
};

// An open title: its four card lists, its settings and its time format, read from and
// written to a title file.
class TPlayPackage {
public:
    TUndoPlayCardList MainCards;
    TUndoPlayCardList VcdCards;
    TPlayCardList KhsCards;
    TPlayCardList KhgCards;
    // The title settings: the file's lines up to the "VolSerialNum" line.
    TStringList Settings;
    // Consulted while card lines are decoded; not owned.
    const TMediaTimeFormats* Player = nullptr;
    TOlveTimeFormat TimeFormat = otfNone;
    std::string FileName;

    // True when the title was read. repair: check and rewrite card lines of the old layout.
    // kind: how the caller will play the title (it decides which conversion is offered);
    // consent: whether the learner allows that conversion.
    bool LoadFromFile(const std::string& fileName, bool repair, TMediaType kind, const TTimeFormatConsent& consent = {})
    {
        return Load(fileName, repair, kind, consent).Outcome == TTitleLoad::Loaded;
    }
    // The same, saying why a title was not read and what the learner is to be told.
    TTitleLoadReport Load(const std::string& fileName, bool repair, TMediaType kind, const TTimeFormatConsent& consent = {});
    // True when the file was written; a name of no known title file type (see
    // UnregisteredFileType) is not written.
    bool SaveToFile(const std::string& fileName, const std::string& user, const std::string& titleUser,
                    const std::string& makers);
    bool BuildLines(TStringList& lines, const std::string& user, const std::string& titleUser,
                    const std::string& makers, const std::string& fileType) const;
    std::string GetSetting(std::string_view name) const;
    void ClearHistories();

private:
    enum class TConversion { None, ToMilliseconds, ToTmsf };

    TConversion OfferConversion(TStringList& lines, TMediaType kind, const TTimeFormatConsent& consent);
    void ReadSettings(const TStringList& lines);
    void ReadCardRun(const TStringList& lines, const std::string& name, TPlayCardList& cards,
                     const TMediaTimeFormats* formats) const;
    void ReadKhsCards(const TStringList& lines, const TMediaTimeFormats* formats);
    void ReadVcdCards(const TStringList& lines, const TMediaTimeFormats* formats);
    bool CheckCardLines(TStringList& lines, int first, bool repair, std::vector<TFailure>& notes) const;
    void ReadMainCards(const TStringList& lines, int first, const TMediaTimeFormats* formats);
    void ResolveMainTexts(const TStringList& lines);
};

// The values of the first run of lines named name (the first such line, then each next
// line whose name is name in the same letter case).
std::vector<std::string> ReadTagRun(const TStringList& lines, const std::string& name);

// The format's row of TimeFormatWords; "TMSF" for a value that is no format.
std::string_view TimeFormatWord(TOlveTimeFormat format);

}  // namespace olve
