#include "media/mp3_delay.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace olve {

namespace {

constexpr int DecoderDelay = 529;
constexpr int UsualEncoderDelay = 576;

std::vector<std::uint8_t> ReadAt(std::ifstream& file, std::uint64_t offset, std::size_t size)
{
    std::vector<std::uint8_t> data(size);
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size));
    data.resize(static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return data;
}

std::uint32_t Be32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// The size of an ID3v2 tag at the start of the file, 0 without one.
std::uint64_t Id3Size(const std::vector<std::uint8_t>& head)
{
    if (head.size() < 10 || std::memcmp(head.data(), "ID3", 3) != 0)
        return 0;
    const std::uint64_t size = (head[6] & 0x7F) << 21 | (head[7] & 0x7F) << 14 | (head[8] & 0x7F) << 7 | (head[9] & 0x7F);
    return 10 + size + ((head[5] & 0x10) ? 10 : 0);
}

bool Starts(const std::uint8_t* p, const char* text)
{
    return std::memcmp(p, text, std::strlen(text)) == 0;
}

}  // namespace

TMp3Delay UncompensatedMp3Delay(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    const std::vector<std::uint8_t> frame = ReadAt(file, Id3Size(ReadAt(file, 0, 10)), 4096);
    if (frame.size() < 4 || frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0)
        return {};
    const int version = (frame[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (frame[1] >> 1) & 3;    // 1: layer III
    const int rateIndex = (frame[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3 || (frame[2] >> 4) == 15)
        return {};
    static constexpr int Rates[3] = {44100, 48000, 32000};
    const int rate = Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    const bool mono = (frame[3] >> 6) == 3;

    TMp3Delay delay{UsualEncoderDelay + DecoderDelay, rate};
    std::size_t at = 4 + (version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    if (at + 8 > frame.size() || !(Starts(&frame[at], "Xing") || Starts(&frame[at], "Info")))
        return delay;
    const std::uint32_t flags = Be32(&frame[at + 4]);
    at += 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    if (at + 36 > frame.size())
        return delay;
    if (Starts(&frame[at], "LAME"))
        return {0, rate};
    if (Starts(&frame[at], "Lavc") || Starts(&frame[at], "Lavf"))
        delay.Samples = static_cast<int>((frame[at + 21] << 4) | (frame[at + 22] >> 4)) + DecoderDelay;
    return delay;
}

}  // namespace olve
