#include "titlemaker/title_settings.h"

namespace olve {

void SetTitleSettings(TPlayPackage& package, const TTitleLook& look)
{
    const char* on = "On";
    const char* off = "Off";
    package.Settings.Clear();
    package.Settings.Add("VolFileTitle=" + look.Name);
    package.Settings.Add(std::string("MTxShw=") + on);
    package.Settings.Add(std::string("STxShw=") + (look.HasSubTexts ? on : off));
    package.Settings.Add(std::string("ImgShw=") + (look.HasPictures ? on : off));
    package.Settings.Add("ImgAln=alLeft");
    package.Settings.Add("MonSty=msSystem");
    package.Settings.Add(std::string("CsrShw=") + off);
    package.Settings.Add(std::string("UlnShw=") + on);
    package.Settings.Add("VolSerialNum=" + look.Code);
    package.TimeFormat = otfTrackMilliseconds;
}

}  // namespace olve
