#include "title/track_metadata.h"

#include "codec/cp932_text.h"

namespace olve {

std::string OneLineCardText(const std::string& cp932Text)
{
    // "||" is the stored line break; a lone "|" is text. A trail byte may equal "|" or a
    // blank's code, so two-byte characters are copied whole.
    std::string line;
    bool blank = false;
    for (std::size_t i = 0; i < cp932Text.size(); ++i) {
        const char c = cp932Text[i];
        const bool lineBreak = c == '|' && i + 1 < cp932Text.size() && cp932Text[i + 1] == '|';
        if (lineBreak || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            i += lineBreak ? 1 : 0;
            blank = true;
            continue;
        }
        if (blank && !line.empty())
            line += ' ';
        blank = false;
        line += c;
        if (IsLeadByte(static_cast<std::uint8_t>(c)) && i + 1 < cp932Text.size())
            line += cp932Text[++i];
    }
    return Cp932ToUtf8(line);
}

TTrackMetadata TrackMetadata(const TPlayCards& cards, int card, std::int64_t recordingMs, const std::string& titleName)
{
    TTrackMetadata metadata;
    metadata.LengthMicroseconds = recordingMs * 1000;
    metadata.Album = titleName;
    if (card < 0 || card >= cards.Count()) {
        metadata.TrackId = NoTrackId;
        return metadata;
    }
    metadata.TrackId = "/org/olveplayer/card/" + std::to_string(card + 1);
    metadata.Title = OneLineCardText(cards.ShowText(card));
    if (metadata.Title.empty())
        metadata.Title = OneLineCardText(cards.GetCard(card).SubText);
    return metadata;
}

}  // namespace olve
