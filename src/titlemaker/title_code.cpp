#include "titlemaker/title_code.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "codec/cp932_text.h"

namespace olve {

namespace {

struct TCloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool DerivedTitleCode(const std::string& mediaPath, std::string& code, std::string& error)
{
    std::unique_ptr<std::FILE, TCloseFile> file(std::fopen(mediaPath.c_str(), "rbe"));
    if (!file) {
        error = "cannot read " + mediaPath;
        return false;
    }
    // 64-bit FNV-1a: stable across machines and builds, which the code must be.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    std::vector<unsigned char> buffer(1 << 16);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0)
        for (std::size_t i = 0; i < got; ++i)
            hash = (hash ^ buffer[i]) * 0x100000001b3ULL;
    if (std::ferror(file.get())) {
        error = "cannot read " + mediaPath;
        return false;
    }
    char text[16];
    std::snprintf(text, sizeof text, "M%012llX", static_cast<unsigned long long>(hash >> 16));
    code = text;
    return true;
}

bool StoredTitleCode(const std::string& code, std::string& stored, std::string& error)
{
    error = "the code \"" + code + "\" cannot name a title: ";
    if (code.empty() || code.size() > 64) {
        error += "it must have 1 to 64 characters";
        return false;
    }
    const char first = code.front(), last = code.back();
    if (first == ' ' || first == '.' || last == ' ' || last == '.') {
        error += "it must not begin or end with a blank or a dot";
        return false;
    }
    if (code.find("..") != std::string::npos) {
        error += "it must not hold \"..\"";
        return false;
    }
    for (unsigned char c : code) {
        if (c < 0x20 || c == 0x7F || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) {
            error += "it must not hold control characters or \\ / : * ? \" < > |";
            return false;
        }
    }
    if (!Utf8ToCp932(code, stored)) {
        error += "it holds characters that Shift-JIS (code page 932) lacks";
        return false;
    }
    error.clear();
    return true;
}

}  // namespace olve
