#include "titlemaker/title_settings.h"

#include "codec/comma_text.h"
#include "places/settings_vocabulary.h"

namespace olve {

bool TitleLayoutOf(const std::string& name, TTitleLayout& layout)
{
    static const std::pair<const char*, TTitleLayout> names[] = {
        {"beside", TTitleLayout::Beside}, {"above", TTitleLayout::Above}, {"list", TTitleLayout::List},
        {"text", TTitleLayout::Text}};
    for (const auto& [word, value] : names) {
        if (name == word) {
            layout = value;
            return true;
        }
    }
    return false;
}

std::string OneLineValue(const std::string& text, bool& changed)
{
    std::string line;
    bool gap = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            gap = true;
            continue;
        }
        if (gap && !line.empty())
            line += ' ';
        gap = false;
        line += c;
    }
    changed = line != text;
    return line;
}

void SetTitleSettings(TPlayPackage& package, const TTitleLook& look)
{
    TStringList& settings = package.Settings;
    settings.Clear();
    settings.Add(NamedLine(TitleNameKey, look.Name));
    settings.Add(NamedLine(MainTextShownKey, OnWord));
    settings.Add(NamedLine(SubTextShownKey, look.HasSubTexts ? OnWord : OffWord));
    settings.Add(NamedLine(PictureShownKey, look.HasPictures ? OnWord : OffWord));
    const bool above = look.Layout == TTitleLayout::Above;
    const bool list = look.Layout == TTitleLayout::List;
    settings.Add(NamedLine(PictureAlignmentKey, above ? TopAlignmentWord : LeftAlignmentWord));
    settings.Add(NamedLine(MonitorStyleKey, list ? ListMonitorStyleWord : SystemMonitorStyleWord));
    settings.Add(NamedLine(CursorShownKey, OffWord));
    settings.Add(NamedLine(UnderlineShownKey, OnWord));
    settings.Add(NamedLine(SerialKey, look.Code));
    package.TimeFormat = otfTrackMilliseconds;
}

}  // namespace olve
