#include "media/ogg_header_pages.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace olve {

namespace {

// Headers take a few pages (more with pictures in the comments); a file whose headers do not
// end within these is left as it is.
constexpr int MaxHeaderPages = 1024;
constexpr std::size_t PageHeaderSize = 27;
constexpr std::size_t GranuleAt = 6;
constexpr std::size_t SerialAt = 14;
constexpr std::size_t ChecksumAt = 22;
constexpr std::uint8_t FirstPageFlag = 0x02;

std::uint32_t ChecksumStep(std::uint32_t crc, std::uint8_t byte)
{
    static const std::array<std::uint32_t, 256> Table = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            table[i] = r;
        }
        return table;
    }();
    return (crc << 8) ^ Table[((crc >> 24) ^ byte) & 0xFF];
}

// The page's checksum, taken with the checksum field as zeros.
std::uint32_t PageChecksum(const std::string& page)
{
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < page.size(); ++i)
        crc = ChecksumStep(crc, i >= ChecksumAt && i < ChecksumAt + 4 ? 0 : std::uint8_t(page[i]));
    return crc;
}

std::uint64_t Le(const std::string& d, std::size_t at, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | std::uint8_t(d[at + std::size_t(i)]);
    return v;
}

struct TPage {
    std::uint64_t Offset = 0;
    std::string Bytes;  // the header with its lacing values, then (when read) the body
    std::size_t Size = 0;
    bool First = false;
    std::uint32_t Serial = 0;
    std::uint64_t Granule = 0;
};

std::string ReadAt(std::ifstream& file, std::uint64_t offset, std::size_t size)
{
    std::string bytes(size, '\0');
    file.clear();
    file.seekg(std::streamoff(offset));
    file.read(bytes.data(), std::streamsize(size));
    bytes.resize(std::size_t(std::max<std::streamsize>(file.gcount(), 0)));
    return bytes;
}

// The header of the page at offset, when one stands there.
bool ReadPageHeader(std::ifstream& file, std::uint64_t offset, TPage& page)
{
    std::string head = ReadAt(file, offset, PageHeaderSize);
    if (head.size() < PageHeaderSize || head.compare(0, 4, "OggS") != 0 || head[4] != 0)
        return false;
    const std::string lacing = ReadAt(file, offset + PageHeaderSize, std::uint8_t(head[26]));
    if (lacing.size() != std::uint8_t(head[26]))
        return false;
    page = {offset, head + lacing, PageHeaderSize + lacing.size(), (std::uint8_t(head[5]) & FirstPageFlag) != 0,
            std::uint32_t(Le(head, SerialAt, 4)), Le(head, GranuleAt, 8)};
    for (const char value : lacing)
        page.Size += std::uint8_t(value);
    return true;
}

// The page without its granule; none when the page does not lie whole in the file.
std::optional<TBytePatch> WithoutGranule(std::ifstream& file, const TPage& page)
{
    std::string bytes = page.Bytes + ReadAt(file, page.Offset + page.Bytes.size(), page.Size - page.Bytes.size());
    if (bytes.size() != page.Size)
        return std::nullopt;
    std::fill_n(bytes.begin() + GranuleAt, 8, char(0xFF));
    const std::uint32_t crc = PageChecksum(bytes);
    for (int i = 0; i < 4; ++i)
        bytes[ChecksumAt + std::size_t(i)] = char(crc >> (8 * i));
    // The granule and the checksum, with the serial number and page number between them.
    return TBytePatch{page.Offset + GranuleAt, bytes.substr(GranuleAt, ChecksumAt + 4 - GranuleAt)};
}

}  // namespace

std::vector<TBytePatch> OggHeaderPagePatches(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream file(path, std::ios::binary);
    std::vector<TBytePatch> patches;
    // Per stream: whether its headers are still going on.
    std::map<std::uint32_t, bool> inHeaders;
    TPage page;
    std::uint64_t at = 0;
    for (int n = 0; n < MaxHeaderPages && ReadPageHeader(file, at, page); ++n, at += page.Size) {
        if (page.First)
            inHeaders.emplace(page.Serial, true);
        const auto stream = inHeaders.find(page.Serial);
        if (stream == inHeaders.end() || !stream->second)
            continue;
        if (page.Granule == 0) {
            if (const auto patch = WithoutGranule(file, page))
                patches.push_back(*patch);
        } else if (page.Granule != ~std::uint64_t(0)) {
            stream->second = false;
            if (std::none_of(inHeaders.begin(), inHeaders.end(), [](const auto& s) { return s.second; }))
                return patches;
        }
    }
    return {};
}

void MendOggDemuxers(GstElement* pipeline, const std::string& path)
{
    PatchPulledBytes(pipeline, "oggdemux", [path] { return OggHeaderPagePatches(path); });
}

}  // namespace olve
