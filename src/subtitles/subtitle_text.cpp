#include "subtitles/subtitle_text.h"

#include <cstdint>

#include "codec/cp932_text.h"

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

enum class TByteOrder { None, Little, Big };

// UTF-16 without a byte-order mark shows itself by its zero bytes: the high bytes of the
// digits, blanks and line ends that fill every subtitle file, all on one side.
TByteOrder Utf16ByteOrder(std::string_view bytes)
{
    std::size_t even = 0, odd = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        even += bytes[i] == '\0' ? 1 : 0;
        odd += bytes[i + 1] == '\0' ? 1 : 0;
    }
    const std::size_t units = bytes.size() / 2;
    if (odd > 0 && odd * 4 >= units && even * 8 < odd)
        return TByteOrder::Little;
    if (even > 0 && even * 4 >= units && odd * 8 < even)
        return TByteOrder::Big;
    return TByteOrder::None;
}

// Decoded code page 932 that needed replacement characters, or landed in the private-use
// area (the user-defined rows, which accented Latin letters fall into), was something else.
bool IsPlausibleCp932(std::string_view utf8)
{
    for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto a = static_cast<std::uint8_t>(utf8[i]), b = static_cast<std::uint8_t>(utf8[i + 1]);
        if (a == 0xEF && b == 0xBF && static_cast<std::uint8_t>(utf8[i + 2]) == 0xBD)
            return false;
        if (a == 0xEE || (a == 0xEF && b < 0xA4))
            return false;
    }
    return true;
}

// The code points of Windows-1252 from 0x80 to 0x9F; the five it leaves free stay C1 codes
// as in Latin-1, which it otherwise equals.
constexpr std::uint16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : b);
    }
    return out;
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
    if (const TByteOrder order = Utf16ByteOrder(bytes); order != TByteOrder::None) {
        encoding = TSubtitleEncoding::Utf16NoMark;
        return NormalLineEnds(Utf16ToUtf8(bytes, order == TByteOrder::Big));
    }
    if (IsValidUtf8(bytes)) {
        encoding = TSubtitleEncoding::Utf8;
        return NormalLineEnds(bytes);
    }
    const std::string japanese = Cp932ToUtf8(bytes);
    if (IsPlausibleCp932(japanese)) {
        encoding = TSubtitleEncoding::Cp932;
        return NormalLineEnds(japanese);
    }
    encoding = TSubtitleEncoding::Windows1252;
    return NormalLineEnds(Windows1252ToUtf8(bytes));
}

bool LooksBinary(std::string_view text)
{
    std::size_t odd = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        const bool control = (c < 0x20 && c != '\t' && c != '\n' && c != '\f') || c == 0x7F;
        odd += control || text.substr(i, 3) == "\xEF\xBF\xBD" ? 1 : 0;
    }
    return odd > 0 && odd * 50 >= text.size();
}

}  // namespace olve
