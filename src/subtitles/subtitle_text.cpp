#include "subtitles/subtitle_text.h"

#include <cstdint>

#include "storage/cp932_text.h"

namespace olve {

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

namespace {

// Unpaired surrogates and an odd last byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<std::uint8_t>(bytes[i]), b = static_cast<std::uint8_t>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    if (i < bytes.size())
        AppendUtf8(out, 0xFFFD);
    return out;
}

std::string NormalLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<std::uint8_t>(bytes[i]);
        std::size_t more = 0;
        std::uint32_t code = 0, least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1, code = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, code = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, code = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + more >= bytes.size())
            return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const auto t = static_cast<std::uint8_t>(bytes[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (t & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        i += more + 1;
    }
    return true;
}

std::string DecodeSubtitleBytes(std::string_view bytes, TSubtitleEncoding& encoding)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        encoding = TSubtitleEncoding::Utf8Bom;
        return NormalLineEnds(bytes.substr(3));
    }
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        encoding = TSubtitleEncoding::Utf16;
        return NormalLineEnds(Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE'));
    }
    if (IsValidUtf8(bytes)) {
        encoding = TSubtitleEncoding::Utf8;
        return NormalLineEnds(bytes);
    }
    encoding = TSubtitleEncoding::Cp932;
    return NormalLineEnds(Cp932ToUtf8(bytes));
}

}  // namespace olve
