// Title files (".qzc", ".wvp") loaded without and with repair, under every kind of media
// and with or without a player, answering yes to every question. A title that loads is
// saved, and what was saved must load with the same cards.
//
// First byte: bit 0 as in WriteStoredText; bit 1 ".wvp" instead of ".qzc"; bits 2-3 the
// kind of media; bit 4 no player.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "title/play_package.h"

using namespace olve;

namespace {

// The media of a title may each have their own time format.
class TMixedMedia : public TMediaTimeFormats {
public:
    TOlveTimeFormat MediaTimeFormat(int index) const override
    {
        constexpr TOlveTimeFormat formats[] = {otfTrackMilliseconds, otfTMSF, otfFrames, otfNone};
        return index >= 0 && index < 4 ? formats[index] : otfTrackMilliseconds;
    }
};

void QueryCards(const TPlayCardList& cards)
{
    for (int i = 0; i < cards.Count(); ++i) {
        cards.ShowText(i);
        cards.StartPosText(i);
        cards.EndPosText(i);
        cards.LengthUnits(i);
    }
}

void QueryTitle(const TPlayPackage& title)
{
    QueryCards(title.MainCards);
    QueryCards(title.VcdCards);
    QueryCards(title.KhsCards);
    QueryCards(title.KhgCards);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t mode = size > 0 ? data[0] : 0;
    const std::filesystem::path folder = fuzz::Scratch();
    const std::string path = (folder / ((mode & 2) != 0 ? "title.wvp" : "title.qzc")).string();
    const auto kind = static_cast<TMediaType>((mode >> 2) & 3);
    const TMixedMedia media;
    const TMediaTimeFormats* player = (mode & 16) != 0 ? nullptr : &media;
    for (bool repair : {false, true}) {
        // A conversion saves the title over the file: each load starts from the input.
        fuzz::WriteStoredText(path, data, size);
        TPlayPackage title;
        title.Player = player;
        // Every conversion is allowed, so that the paths it guards are taken.
        if (!title.LoadFromFile(path, repair, kind, [](const TTimeFormatChange&) { return true; }))
            continue;
        QueryTitle(title);

        const std::string copy = (folder / "saved.qzc").string();
        const std::string makers = title.GetSetting("VolMaker");
        if (!title.SaveToFile(copy, "fuzz", "", makers))
            continue;
        TPlayPackage saved;
        saved.Player = player;
        OLVE_FUZZ_CHECK(saved.LoadFromFile(copy, false, mtNone));
        OLVE_FUZZ_CHECK(saved.MainCards.Count() == title.MainCards.Count());
        QueryTitle(saved);
    }
    return 0;
}
