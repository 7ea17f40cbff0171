#pragma once
// Builds file trains byte by byte, so that tests can make damaged and hostile packages too.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "codec/delta_code.h"

namespace train_test {

inline std::uint32_t DosDate(int year, int month, int day, int hour, int minute, int second)
{
    return (static_cast<std::uint32_t>(year - 1980) << 25) | (static_cast<std::uint32_t>(month) << 21) |
           (static_cast<std::uint32_t>(day) << 16) | (static_cast<std::uint32_t>(hour) << 11) |
           (static_cast<std::uint32_t>(minute) << 5) | static_cast<std::uint32_t>(second / 2);
}

inline std::string Int32(std::int64_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

inline std::string Coded(const std::string& plain)
{
    olve::TDeltaCode codec;
    codec.Plain.assign(plain.begin(), plain.end());
    codec.Encode();
    return std::string(codec.Coded.begin(), codec.Coded.end());
}

struct TEntry {
    std::string Name;
    std::string Data;
    bool Compressed = false;
    std::uint32_t Date = DosDate(2003, 2, 10, 12, 34, 56);
};

inline std::string EntryBytes(const TEntry& e)
{
    const std::string stored = e.Compressed ? Coded(e.Data) : e.Data;
    return "olve" + Int32(e.Date) + Int32(static_cast<std::int64_t>(e.Data.size())) +
           Int32(static_cast<std::int64_t>(e.Name.size())) + e.Name +
           Int32(e.Compressed ? static_cast<std::int64_t>(stored.size()) : 0) + stored;
}

inline std::string TrainBytes(const std::string& header, const std::vector<TEntry>& entries)
{
    std::string out = "0101" + Int32(static_cast<std::int64_t>(header.size())) + header;
    for (const TEntry& e : entries)
        out += EntryBytes(e);
    return out;
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace train_test
