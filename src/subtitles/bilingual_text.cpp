#include "subtitles/bilingual_text.h"

#include <cstdint>

#include "subtitles/cue_markup.h"

namespace olve {

namespace {

bool IsJapaneseCode(std::uint32_t code)
{
    return (code >= 0x3040 && code <= 0x30FF) || (code >= 0x3400 && code <= 0x4DBF) ||
           (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xFF66 && code <= 0xFF9F);
}

bool IsLatinLetter(std::uint32_t code)
{
    return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0x24F);
}

std::vector<std::string> Joined(const std::vector<std::vector<std::string>>& blocks, const std::vector<bool>& japanese,
                                bool which)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (japanese[i] == which)
            lines.insert(lines.end(), blocks[i].begin(), blocks[i].end());
    return lines;
}

}  // namespace

bool IsMostlyJapanese(std::string_view text)
{
    std::size_t japanese = 0, latin = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        japanese += IsJapaneseCode(code) ? 1 : 0;
        latin += IsLatinLetter(code) ? 1 : 0;
        i += length;
    }
    return japanese > latin;
}

void SetCueTexts(TSubtitleCue& cue, const std::vector<std::vector<std::string>>& blocks)
{
    std::vector<bool> japanese;
    bool some = false, all = true;
    for (const std::vector<std::string>& block : blocks) {
        const std::string text = CueTextOfLines(block).Text;
        japanese.push_back(!text.empty() && IsMostlyJapanese(text));
        some = some || japanese.back();
        all = all && (japanese.back() || text.empty());
    }
    if (!some || all)
        japanese.assign(blocks.size(), false);
    TCueText text = CueTextOfLines(Joined(blocks, japanese, false));
    cue.Text = std::move(text.Text);
    cue.Parts = std::move(text.Stamps);
    cue.Translation = CueTextOfLines(Joined(blocks, japanese, true)).Text;
}

}  // namespace olve
