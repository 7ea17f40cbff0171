#include "filetrain/train_entry_name.h"

#include <cstdio>
#include <vector>

#include "codec/cp932_text.h"

namespace olve {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsTrailByte(std::uint8_t b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The names between separators, in code page 932.
std::vector<std::string> StoredComponents(const std::string& stored)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (IsLeadByte(static_cast<std::uint8_t>(stored[i])) && i + 1 < stored.size() &&
            IsTrailByte(static_cast<std::uint8_t>(stored[i + 1]))) {
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

bool IsControlByte(std::uint8_t b)
{
    return b < 0x20 || b == 0x7F;
}

// A name no file system should get: a control byte (ESC would reach a terminal that lists
// it), or a lead byte without its second byte, which a separator after it would turn into a
// folder of its own.
bool HasUnsafeBytes(const std::string& stored)
{
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(stored[i]);
        if (IsControlByte(b))
            return true;
        if (IsLeadByte(b)) {
            if (i + 1 >= stored.size() || !IsTrailByte(static_cast<std::uint8_t>(stored[i + 1])))
                return true;
            ++i;
        }
    }
    return false;
}

// Control bytes and broken two-byte characters as "\xNN", so that a listing never prints
// them raw.
std::string EscapedPart(const std::string& part)
{
    if (!HasUnsafeBytes(part))
        return Cp932ToUtf8(part);
    std::string shown;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(part[i]);
        if (IsLeadByte(b) && i + 1 < part.size() && IsTrailByte(static_cast<std::uint8_t>(part[i + 1]))) {
            shown += Cp932ToUtf8(part.substr(i, 2));
            ++i;
        } else if (IsControlByte(b) || IsLeadByte(b)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", b);
            shown += escaped;
        } else {
            shown += Cp932ToUtf8(part.substr(i, 1));
        }
    }
    return shown;
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
        result += (i > 0 ? "/" : "") + EscapedPart(parts[i]);
    return result;
}

bool LocalEntryPath(const std::string& stored, std::string& relative)
{
    relative.clear();
    if (stored.empty() || HasUnsafeBytes(stored))
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
