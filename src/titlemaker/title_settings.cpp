#include "titlemaker/title_settings.h"

#include "storage/comma_text.h"
#include "storage/settings_vocabulary.h"

namespace olve {

void SetTitleSettings(TPlayPackage& package, const TTitleLook& look)
{
    TStringList& settings = package.Settings;
    settings.Clear();
    settings.Add(NamedLine(TitleNameKey, look.Name));
    settings.Add(NamedLine(MainTextShownKey, OnWord));
    settings.Add(NamedLine(SubTextShownKey, look.HasSubTexts ? OnWord : OffWord));
    settings.Add(NamedLine(PictureShownKey, look.HasPictures ? OnWord : OffWord));
    settings.Add(NamedLine(PictureAlignmentKey, LeftAlignmentWord));
    settings.Add(NamedLine(MonitorStyleKey, SystemMonitorStyleWord));
    settings.Add(NamedLine(CursorShownKey, OffWord));
    settings.Add(NamedLine(UnderlineShownKey, OnWord));
    settings.Add(NamedLine(SerialKey, look.Code));
    package.TimeFormat = otfTrackMilliseconds;
}

}  // namespace olve
