#include "codec/cp932_text.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace olve {

namespace {

// One iconv conversion descriptor for the length of a call.
class TIconv {
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from))
    {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~TIconv() { iconv_close(FHandle); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts exactly the given input; false when it is not one whole valid sequence.
    bool Convert(const char* in, std::size_t inSize, std::string& out)
    {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(FHandle, &inPtr, &inSize, &outPtr, &outLeft);
        if (r == static_cast<std::size_t>(-1) || inSize != 0)
            return false;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return true;
    }

private:
    iconv_t FHandle;
};

const char* const Replacement = "\xEF\xBF\xBD";

// Calls emit(byteOffset, byteLength, utf8) for each character of a code page 932 text.
template <typename Emit>
void ForEachCp932Char(std::string_view bytes, Emit emit)
{
    TIconv conv("UTF-8", "CP932");
    std::string utf8;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 1;
        utf8.clear();
        if (b < 0x80) {
            utf8 += static_cast<char>(b);
        } else if (IsLeadByte(b) && i + 1 < bytes.size() && conv.Convert(bytes.data() + i, 2, utf8)) {
            length = 2;
        } else if (!conv.Convert(bytes.data() + i, 1, utf8)) {
            utf8.clear();
            utf8 = Replacement;
        }
        emit(i, length, utf8);
        i += length;
    }
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t Utf8SequenceLength(std::uint8_t b)
{
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
        return 2;
    if ((b & 0xF0) == 0xE0)
        return 3;
    if ((b & 0xF8) == 0xF0)
        return 4;
    return 1;
}

std::string Cp932ToUtf8(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size() * 3 / 2);
    ForEachCp932Char(bytes, [&](std::size_t, std::size_t, const std::string& utf8) { result += utf8; });
    return result;
}

bool Utf8ToCp932(std::string_view utf8, std::string& bytes)
{
    TIconv conv("CP932", "UTF-8");
    bytes.clear();
    bytes.reserve(utf8.size());
    bool complete = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        const std::size_t length = std::min(Utf8SequenceLength(b), utf8.size() - i);
        if (b < 0x80) {
            bytes += static_cast<char>(b);
        } else if (!conv.Convert(utf8.data() + i, length, bytes)) {
            bytes += '?';
            complete = false;
        }
        i += length;
    }
    return complete;
}

std::string Utf8ToCp932(std::string_view utf8)
{
    std::string bytes;
    Utf8ToCp932(utf8, bytes);
    return bytes;
}

std::vector<int> Cp932CharOffsets(std::string_view bytes)
{
    std::vector<int> offsets(bytes.size() + 1, 0);
    int chars = 0;
    ForEachCp932Char(bytes, [&](std::size_t at, std::size_t length, const std::string&) {
        for (std::size_t k = 0; k < length; ++k)
            offsets[at + k] = chars;
        ++chars;
    });
    offsets[bytes.size()] = chars;
    return offsets;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<std::uint8_t>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::string LowerAscii(std::string_view text)
{
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (IsLeadByte(static_cast<std::uint8_t>(result[i])) && i + 1 < result.size())
            ++i;
        else
            result[i] = FoldAscii(result[i]);
    }
    return result;
}

}  // namespace olve
