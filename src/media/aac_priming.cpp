#include "media/aac_priming.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <vector>

namespace olve {

namespace {

constexpr int OneFrame = 1024;
// Larger movie headers belong to long films with huge tables; none is read whole.
constexpr std::uint64_t MaxMovieHeader = 64 << 20;

using TBytes = std::vector<std::uint8_t>;

struct TSpan {
    std::size_t Begin = 0;
    std::size_t End = 0;
};

std::uint64_t BeN(const std::uint8_t* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// The n-th child box of a type inside span, after skip bytes of the parent's own fields.
std::optional<TSpan> Child(const TBytes& d, TSpan parent, const char* type, std::size_t skip = 0, int n = 0)
{
    for (std::size_t at = parent.Begin + skip; at + 8 <= parent.End;) {
        const std::uint64_t size = BeN(&d[at], 4);
        if (size < 8 || at + size > parent.End)
            return std::nullopt;
        if (std::memcmp(&d[at + 4], type, 4) == 0 && n-- == 0)
            return TSpan{at + 8, at + std::size_t(size)};
        at += std::size_t(size);
    }
    return std::nullopt;
}

std::optional<TSpan> Path(const TBytes& d, TSpan span, std::initializer_list<const char*> types)
{
    std::optional<TSpan> at = span;
    for (const char* type : types)
        if (!(at = Child(d, *at, type, std::strcmp(type, "ilst") == 0 ? 4 : 0)))
            return std::nullopt;
    return at;
}

// The movie header box, wherever it stands among the top-level boxes, and where it stands.
TBytes ReadMovie(std::ifstream& file, std::uint64_t& offset)
{
    std::uint8_t head[16];
    for (std::uint64_t at = 0; file.seekg(std::streamoff(at)).read(reinterpret_cast<char*>(head), 16);) {
        std::uint64_t size = BeN(head, 4);
        if (size == 1)
            size = BeN(head + 8, 8);
        if (size < 8)
            return {};
        if (std::memcmp(head + 4, "moov", 4) == 0) {
            if (size > MaxMovieHeader)
                return {};
            TBytes movie(size);
            file.seekg(std::streamoff(at)).read(reinterpret_cast<char*>(movie.data()), std::streamsize(size));
            offset = at;
            return file ? movie : TBytes{};
        }
        at += size;
    }
    return {};
}

bool IsAacTrack(const TBytes& d, TSpan track)
{
    const auto handler = Path(d, track, {"mdia", "hdlr"});
    const auto entries = Path(d, track, {"mdia", "minf", "stbl", "stsd"});
    return handler && handler->End - handler->Begin >= 12 && std::memcmp(&d[handler->Begin + 8], "soun", 4) == 0 &&
           entries && Child(d, *entries, "mp4a", 8);
}

// The time scale of a movie or media header (mvhd, mdhd): after the times of creation and
// change, 4 or 8 bytes each.
int TimeScale(const TBytes& d, std::optional<TSpan> header)
{
    if (!header || header->End - header->Begin < 24)
        return 0;
    return int(BeN(&d[header->Begin + (d[header->Begin] == 1 ? 20 : 12)], 4));
}

struct TEdit {
    std::int64_t MediaTime = 0;     // in the track's time scale
    std::uint64_t Duration = 0;     // in the movie's time scale
    std::size_t DurationAt = 0;     // in the movie box
    int DurationBytes = 4;
};

// The first edit that skips media at the start; none when no edit does. Empty edits (media
// time -1) only delay the track.
std::optional<TEdit> SkippingEdit(const TBytes& d, TSpan track)
{
    const auto list = Path(d, track, {"edts", "elst"});
    if (!list || list->End - list->Begin < 8)
        return std::nullopt;
    const bool wide = d[list->Begin] == 1;
    const int field = wide ? 8 : 4;
    const std::uint64_t count = BeN(&d[list->Begin + 4], 4);
    for (std::size_t i = 0, at = list->Begin + 8; i < count && at + 2 * field + 4 <= list->End; ++i, at += 2 * field + 4) {
        const std::int64_t mediaTime = wide ? std::int64_t(BeN(&d[at + 8], 8)) : std::int32_t(BeN(&d[at + 4], 4));
        if (mediaTime > 0)
            return TEdit{mediaTime, BeN(&d[at], field), at, field};
    }
    return std::nullopt;
}

struct TFound {
    TAacPriming Priming;
    std::optional<TBytePatch> EditEnd;
};

// The edit made longer by two frames, so that the demuxer passes the last, partial frame
// that it drops at the edit's end (the player cuts the sound at the real end itself).
TBytePatch LongerEdit(const TEdit& edit, int movieScale, int sampleRate, std::uint64_t movieAt)
{
    const std::uint64_t longer = edit.Duration + std::uint64_t(2 * OneFrame) * std::uint64_t(movieScale) / std::uint64_t(sampleRate) + 1;
    std::string bytes(std::size_t(edit.DurationBytes), '\0');
    for (int i = 0; i < edit.DurationBytes; ++i)
        bytes[std::size_t(i)] = char(longer >> (8 * (edit.DurationBytes - 1 - i)));
    return {movieAt + edit.DurationAt, bytes};
}

// iTunSMPB: " 00000000 00000840 000001CA ...", the second field the priming in samples.
std::optional<int> TaggedPriming(const TBytes& d, TSpan movie)
{
    const auto items = Path(d, movie, {"udta", "meta", "ilst"});
    for (int n = 0; items; ++n) {
        const auto item = Child(d, *items, "----", 0, n);
        if (!item)
            return std::nullopt;
        const auto name = Child(d, *item, "name");
        const auto data = Child(d, *item, "data");
        if (!name || !data || name->End - name->Begin != 12 || std::memcmp(&d[name->Begin + 4], "iTunSMPB", 8) != 0)
            continue;
        const std::string text(d.begin() + long(data->Begin + 8), d.begin() + long(data->End));
        unsigned zero = 0;
        unsigned priming = 0;
        if (std::sscanf(text.c_str(), "%x %x", &zero, &priming) == 2)
            return int(priming);
    }
    return std::nullopt;
}

}  // namespace

namespace {

TFound FindPriming(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream file(path, std::ios::binary);
    std::uint64_t movieAt = 0;
    const TBytes d = file ? ReadMovie(file, movieAt) : TBytes{};
    if (d.size() < 8)
        return {};
    const TSpan movie{8, d.size()};
    for (int n = 0;; ++n) {
        const auto track = Child(d, movie, "trak", 0, n);
        if (!track)
            return {};
        if (!IsAacTrack(d, *track))
            continue;
        const int scale = TimeScale(d, Path(d, *track, {"mdia", "mdhd"}));
        const int movieScale = TimeScale(d, Child(d, movie, "mvhd"));
        const std::optional<TEdit> edit = SkippingEdit(d, *track);
        if (!edit)
            return {{TaggedPriming(d, movie).value_or(OneFrame), scale}};
        // No priming is longer than a second; a larger skip is an edit of another kind.
        if (edit->MediaTime > scale || movieScale <= 0 || edit->Duration > (std::uint64_t(1) << 40))
            return {{0, scale}};
        const std::int64_t lengthMs = std::int64_t(edit->Duration * 1000 / std::uint64_t(movieScale));
        return {{0, scale, int(edit->MediaTime), lengthMs}, LongerEdit(*edit, movieScale, scale, movieAt)};
    }
}

}  // namespace

TAacPriming UncompensatedAacPriming(const std::string& path)
{
    return FindPriming(path).Priming;
}

std::vector<TBytePatch> AacEditEndPatches(const std::string& path)
{
    const TFound found = FindPriming(path);
    if (!found.EditEnd)
        return {};
    return {*found.EditEnd};
}

}  // namespace olve
