#include "places/title_paths.h"

#include "codec/cp932_text.h"

namespace olve {

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool IsSafeTitleCode(const std::string& code)
{
    if (code.empty() || code == "." || code.find("..") != std::string::npos)
        return false;
    // Decoded first: a "\" byte may be the second byte of a double-byte character.
    const std::string text = Cp932ToUtf8(code);
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            return false;
    return true;
}

std::string TitleRelativePath(const std::string& code, const std::string& separator)
{
    if (code.empty())
        return std::string();
    if (IsAsciiLetter(code[0]))
        return "titles" + separator + code[0] + separator + code;
    return "titles" + separator + code;
}

std::string TitleFolder(const std::string& base, const std::string& code)
{
    if (!IsSafeTitleCode(code))
        return "/";
    return base + Cp932ToUtf8(TitleRelativePath(code, "/")) + "/";
}

}  // namespace olve
