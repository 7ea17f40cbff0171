#include "storage/title_paths.h"

#include "storage/cp932_text.h"

namespace olve {

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

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
    if (code.empty())
        return "/";
    return base + Cp932ToUtf8(TitleRelativePath(code, "/")) + "/";
}

}  // namespace olve
