#include "storage/audio_cd_binding.h"

#include "storage/cp932_text.h"
#include "storage/delta_code.h"
#include "storage/string_list.h"

namespace olve {

namespace {

int IndexOfName(const TStringList& lines, const std::string& name)
{
    for (int i = 0; i < lines.Count(); ++i) {
        const std::size_t eq = lines[i].find('=');
        if (eq != std::string::npos && SameTextIgnoringCase(lines[i].substr(0, eq), name))
            return i;
    }
    return -1;
}

}  // namespace

bool BindTitleToAudioCD(std::vector<std::uint8_t>& bytes, const std::string& identity)
{
    TDeltaCode codec;
    codec.Coded = bytes;
    if (!codec.Decode())
        return false;
    TStringList lines;
    lines.SetText(std::string(codec.Plain.begin(), codec.Plain.end()));
    const int serial = IndexOfName(lines, "VolSerialNum");
    if (serial < 0)
        return false;
    lines.Put(serial, "VolSerialNum=" + identity);
    const int user = IndexOfName(lines, "VolUser");
    if (user < 0)
        lines.Insert(0, "VolUser=" + identity);
    else
        lines.Put(user, "VolUser=AudioCDEx");
    const std::string text = lines.Text();
    codec.Plain.assign(text.begin(), text.end());
    if (!codec.Encode())
        return false;
    bytes = codec.Coded;
    return true;
}

}  // namespace olve
