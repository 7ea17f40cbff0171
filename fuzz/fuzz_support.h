#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "codec/delta_code.h"

// Helpers shared by the fuzz targets.
namespace olve::fuzz {

// A broken property is a finding like a crash: abort so that the fuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
    std::abort();
}

#define OLVE_FUZZ_CHECK(condition) \
    ((condition) ? void() : ::olve::fuzz::Fail(#condition, __FILE__, __LINE__))


// The folder that one input may write in: below the process's own scratch folder (under
// TMPDIR), emptied before each input. Files that a target wrote outside it would show as
// siblings of it.
inline std::filesystem::path Scratch()
{
    static const std::filesystem::path base = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "olve-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        return std::filesystem::path(pattern);
    }();
    std::error_code ec;
    std::filesystem::remove_all(base / "in", ec);
    std::filesystem::create_directory(base / "in", ec);
    if (ec) {
        std::fprintf(stderr, "scratch folder %s: %s\n", base.c_str(), ec.message().c_str());
        std::abort();
    }
    return base / "in";
}

inline void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

// Targets whose files are BDC text take a first byte that says how the rest is stored:
// even, the rest is the plain text and is compressed here, so that mutations reach the
// text's parser; odd, the rest is the file's bytes as they are.
inline void WriteStoredText(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || (data[0] & 1) != 0) {
        WriteBytes(path, size == 0 ? data : data + 1, size == 0 ? 0 : size - 1);
        return;
    }
    TDeltaCode codec;
    codec.Plain.assign(data + 1, data + size);
    codec.Encode();
    WriteBytes(path, codec.Coded.data(), codec.Coded.size());
}

}  // namespace olve::fuzz
