#include "subtitles/subtitle_packet.h"

#include <cctype>
#include <vector>

#include "subtitles/subtitle_lines.h"
#include "subtitles/vtt_reader.h"

namespace olve {

namespace {

std::vector<std::string> PacketLines(const std::string& text)
{
    std::vector<std::string> lines = SplitLines(text);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    return lines;
}

// The text field of an SSA/ASS event: after the eighth comma of a Matroska-style event, or
// the ninth of a "Dialogue:" line.
std::string SsaTextField(const std::string& event)
{
    const int commas = event.rfind("Dialogue:", 0) == 0 ? 9 : 8;
    std::size_t pos = 0;
    for (int i = 0; i < commas; ++i) {
        pos = event.find(',', pos);
        if (pos == std::string::npos)
            return event;
        ++pos;
    }
    return event.substr(pos);
}

// Whether an override block switches drawing mode on ("\p1") or off ("\p0"); unchanged when it
// does not mention it ("\pos" is not it).
bool DrawingAfter(const std::string& block, bool drawing)
{
    for (std::size_t p = block.find("\\p"); p != std::string::npos; p = block.find("\\p", p + 2))
        if (p + 2 < block.size() && std::isdigit(static_cast<unsigned char>(block[p + 2])))
            drawing = block[p + 2] != '0';
    return drawing;
}

// Override blocks and comments ("{...}") and drawings dropped; "\N" and "\n" break the line,
// "\h" is a space.
std::string SsaPlainText(const std::string& text)
{
    std::string out;
    bool drawing = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t close = c == '{' ? text.find('}', i) : std::string::npos;
        if (close != std::string::npos) {
            drawing = DrawingAfter(text.substr(i, close - i), drawing);
            i = close;
        } else if (drawing) {
            continue;
        } else if (c == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n')) {
            out += '\n';
            ++i;
        } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'h') {
            out += ' ';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool HasTimingLine(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (line.find("-->") != std::string::npos)
            return true;
    return false;
}

TCueText WebVttPacketText(const std::string& packet)
{
    const std::vector<std::string> lines = PacketLines(packet);
    if (!HasTimingLine(lines))
        return CueTextOfLines(lines);
    const std::string file = packet.rfind("WEBVTT", 0) == 0 ? packet : "WEBVTT\n\n" + packet;
    TCueText result;
    for (const TSubtitleCue& cue : ReadWebVtt(file).Cues) {
        if (!result.Text.empty() && !cue.Text.empty())
            result.Text += "\n";
        for (TTimedPart part : cue.Parts) {
            part.Offset += result.Text.size();
            result.Stamps.push_back(part);
        }
        result.Text += cue.Text;
    }
    return result;
}

}  // namespace

TCueText SubtitlePacketText(const std::string& packet, TSubtitlePacketFormat format)
{
    switch (format) {
    case TSubtitlePacketFormat::Ssa:
        return CueTextOfLines(PacketLines(SsaPlainText(SsaTextField(packet))));
    case TSubtitlePacketFormat::WebVtt:
        return WebVttPacketText(packet);
    case TSubtitlePacketFormat::Text:
        break;
    }
    return CueTextOfLines(PacketLines(packet));
}

}  // namespace olve
