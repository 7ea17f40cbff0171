#include "storage/train_entry_name.h"

#include <vector>

#include "storage/cp932_text.h"

namespace olve {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The names between separators, in code page 932.
std::vector<std::string> StoredComponents(const std::string& stored)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (IsLeadByte(static_cast<std::uint8_t>(stored[i])) && i + 1 < stored.size()) {
            parts.back() += stored[i];
            parts.back() += stored[++i];
        } else if (IsSeparator(stored[i])) {
            parts.emplace_back();
        } else {
            parts.back() += stored[i];
        }
    }
    return parts;
}

bool IsDriveLetter(const std::string& part)
{
    return part.size() >= 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

}  // namespace

std::string DisplayEntryName(const std::string& stored)
{
    std::string result;
    const std::vector<std::string> parts = StoredComponents(stored);
    for (std::size_t i = 0; i < parts.size(); ++i)
        result += (i > 0 ? "/" : "") + Cp932ToUtf8(parts[i]);
    return result;
}

bool LocalEntryPath(const std::string& stored, std::string& relative)
{
    relative.clear();
    if (stored.empty() || stored.find('\0') != std::string::npos)
        return false;
    const std::vector<std::string> parts = StoredComponents(stored);
    if (parts.front().empty() || IsDriveLetter(parts.front()) || parts.back().empty())
        return false;
    std::string path;
    for (const std::string& part : parts) {
        if (part == "..")
            return false;
        if (part.empty() || part == ".")
            continue;
        path += (path.empty() ? "" : "/") + Cp932ToUtf8(part);
    }
    relative = path;
    return !relative.empty();
}

bool StoredEntryName(const std::string& localRelative, std::string& stored)
{
    stored.clear();
    std::string part;
    if (!Utf8ToCp932(localRelative, part))
        return false;
    const std::vector<std::string> bytes = StoredComponents(part);
    std::size_t slashes = 0;
    for (char c : localRelative)
        slashes += c == '/' ? 1 : 0;
    // Every separator found in the code page 932 form must be one of the "/" of the path.
    if (bytes.size() != slashes + 1)
        return false;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        stored += (i > 0 ? "\\" : "") + bytes[i];
    return true;
}

}  // namespace olve
