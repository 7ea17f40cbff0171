#include "places/audio_cd_binding.h"

#include "codec/comma_text.h"
#include "codec/delta_code.h"
#include "places/settings_vocabulary.h"
#include "codec/string_list.h"

namespace olve {

namespace {

int IndexOfName(const TStringList& lines, std::string_view name)
{
    for (int i = 0; i < lines.Count(); ++i)
        if (IsNamed(lines[i], name))
            return i;
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
    const int serial = IndexOfName(lines, SerialKey);
    if (serial < 0)
        return false;
    lines.Put(serial, NamedLine(SerialKey, identity));
    const int user = IndexOfName(lines, UserKey);
    if (user < 0)
        lines.Insert(0, NamedLine(UserKey, identity));
    else
        lines.Put(user, NamedLine(UserKey, AudioCDUserWord));
    const std::string text = lines.Text();
    codec.Plain.assign(text.begin(), text.end());
    if (!codec.Encode())
        return false;
    bytes = codec.Coded;
    return true;
}

}  // namespace olve
