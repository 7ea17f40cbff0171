// The BDC decoder on any bytes, and the audio-CD binding that rewrites BDC title entries.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "places/audio_cd_binding.h"
#include "codec/delta_code.h"

using namespace olve;

namespace {

std::uint32_t AnnouncedSize(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && 8 + static_cast<std::size_t>(i) < size; ++i)
        value |= static_cast<std::uint32_t>(data[8 + i]) << (8 * i);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TDeltaCode codec;
    codec.Coded.assign(data, data + size);
    const bool decoded = codec.Decode();
    OLVE_FUZZ_CHECK(!codec.LastError().empty());
    if (decoded) {
        OLVE_FUZZ_CHECK(codec.Plain.size() == AnnouncedSize(data, size));
        // Whatever decodes must survive our own coding unchanged.
        TDeltaCode again;
        again.Plain = codec.Plain;
        OLVE_FUZZ_CHECK(again.Encode());
        const std::vector<std::uint8_t> plain = again.Plain;
        OLVE_FUZZ_CHECK(again.Decode());
        OLVE_FUZZ_CHECK(again.Plain == plain);
    } else {
        OLVE_FUZZ_CHECK(codec.Plain.size() <= AnnouncedSize(data, size));
    }

    std::vector<std::uint8_t> bytes(data, data + size);
    if (BindTitleToAudioCD(bytes, "1234-ABCD")) {
        TDeltaCode bound;
        bound.Coded = bytes;
        OLVE_FUZZ_CHECK(bound.Decode());
    } else {
        OLVE_FUZZ_CHECK(bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0));
    }
    return 0;
}
