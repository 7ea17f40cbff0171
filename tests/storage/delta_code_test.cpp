#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codec/cp932_text.h"
#include "codec/delta_code.h"

using olve::TDeltaCode;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes FromHex(const std::string& hex)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes FromText(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes Encoded(const Bytes& plain)
{
    TDeltaCode codec;
    codec.Plain = plain;
    EXPECT_TRUE(codec.Encode());
    return codec.Coded;
}

// Decodes a stream; returns the plain bytes, or the error text when decoding fails.
struct TDecodeResult {
    bool Ok;
    Bytes Plain;
    std::string Error;
};

TDecodeResult Decoded(const Bytes& coded)
{
    TDeltaCode codec;
    codec.Coded = coded;
    const bool ok = codec.Decode();
    return {ok, codec.Plain, codec.LastError()};
}

std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void PutLe32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The decoder as a plain bit reader, one 16-bit word at a time, with any header widths:
// the reference the table-driven decoder must agree with.
bool ReferenceDecode(const Bytes& coded, Bytes& plain)
{
    const std::uint32_t size = Le32(coded, 8);
    const int n = (coded[16] | (coded[17] << 8)) + 1;
    const int sel = coded[18];
    int width[4];
    std::uint8_t first[4];
    std::uint8_t f = 0;
    for (int g = 0; g < 4; ++g) {
        width[g] = coded[19 + g];
        first[g] = f;
        f = static_cast<std::uint8_t>(f + (1u << width[g]));
    }
    std::uint8_t symbol[256];
    for (int i = 0; i < 256; ++i)
        symbol[i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < n; ++i)
        symbol[i] = coded[32 + i];
    plain.clear();
    std::size_t at = 32 + n;
    std::uint64_t reg = 0;
    int k = 0;
    std::uint32_t remaining = size;
    while (remaining > 0 && at + 1 < coded.size() + 1) {
        if (at >= coded.size())
            break;
        const std::uint16_t w = static_cast<std::uint16_t>(coded[at] | (at + 1 < coded.size() ? coded[at + 1] << 8 : 0));
        at += 2;
        reg = (reg << 16) | w;
        k += 16;
        while (k >= sel && remaining > 0) {
            const int g = static_cast<int>((reg >> (k - sel)) & ((1u << sel) - 1));
            if (k - sel < width[g])
                break;
            k -= sel;
            const std::uint32_t index = static_cast<std::uint32_t>((reg >> (k - width[g])) & ((1ull << width[g]) - 1));
            k -= width[g];
            plain.push_back(symbol[static_cast<std::uint8_t>(index + first[g])]);
            --remaining;
        }
    }
    return remaining == 0;
}

}  // namespace

TEST(DeltaCodeStreams, EmptyDataIsA33ByteStreamThatDecodesToNothing)
{
    const Bytes coded = Encoded({});
    EXPECT_EQ(coded, FromHex("4244433121000000000000000000000000000201030506000000000000000000aa"));
    const TDecodeResult r = Decoded(coded);
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(r.Plain.empty());
}

TEST(DeltaCodeStreams, TenEqualBytesCostThreeBitsEach)
{
    const Bytes coded = Encoded(FromText("aaaaaaaaaa"));
    EXPECT_EQ(coded, FromHex("42444331250000000a00000000000000000002010305060000000000000000006100000000"));
    EXPECT_EQ(Le32(coded, 4), 37u);
    EXPECT_EQ(Decoded(coded).Plain, FromText("aaaaaaaaaa"));
}

TEST(DeltaCodeStreams, RankOrderFollowsTheQuicksortOfCounts)
{
    // Ties (b, r: 2 each; c, d: 1 each) are ordered by the partitioning, not by byte value.
    EXPECT_EQ(Encoded(FromText("abracadabra")),
              FromHex("424443312b0000000b00000000000000040002010305060000000000000000006172626463210821410004"));
}

TEST(DeltaCodeStreams, AllByteValuesUseTheWidestGroup)
{
    Bytes plain;
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k <= b % 7; ++k)
            plain.push_back(static_cast<std::uint8_t>(b));
    TDeltaCode codec;
    codec.Plain = plain;
    codec.Encode();
    const Bytes& coded = codec.Coded;
    EXPECT_EQ(coded[16] | (coded[17] << 8), 255);
    EXPECT_EQ(coded[22], 8);

    // Ranks 0-1 cost 3 bits, 2-9 cost 5, 10-41 cost 7, the rest 10.
    std::uint64_t bits = 0;
    for (int r = 0; r < 256; ++r) {
        const int cost = r <= 1 ? 3 : r <= 9 ? 5 : r <= 41 ? 7 : 10;
        bits += static_cast<std::uint64_t>(codec.Table()[r].Count) * cost;
    }
    EXPECT_EQ(coded.size(), 32 + 256 + (bits + 15) / 16 * 2);
    EXPECT_EQ(Decoded(coded).Plain, plain);
}

TEST(DeltaCodeStreams, RoundTripsRandomBuffersOfEveryShape)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = random() % 3000;
        const int alphabet = 1 + static_cast<int>(random() % 256);
        std::geometric_distribution<int> skewed(0.05 + (random() % 90) / 100.0);
        Bytes plain(length);
        for (auto& b : plain)
            b = static_cast<std::uint8_t>(round % 2 ? skewed(random) % alphabet : random() % alphabet);
        const Bytes coded = Encoded(plain);
        const TDecodeResult r = Decoded(coded);
        ASSERT_TRUE(r.Ok) << "round " << round;
        ASSERT_EQ(r.Plain, plain) << "round " << round;
    }
}

TEST(DeltaCodeStreams, RoundTripsJapaneseText)
{
    const std::string text = olve::Utf8ToCp932(
        "コーヒーを一杯お願いします。\r\nI'd like a cup of coffee, please.\r\n表示／非表示=ＭＳ Ｐゴシック\r\n");
    EXPECT_EQ(Decoded(Encoded(FromText(text))).Plain, FromText(text));
}

TEST(DeltaCodeDecoder, AgreesWithAPlainBitReaderOnAnyHeaderWidths)
{
    std::mt19937 random(99);
    for (int round = 0; round < 400; ++round) {
        // Build a stream by hand with random widths and random code words.
        const int sel = 1 + static_cast<int>(random() % 2);
        Bytes coded(32, 0);
        coded[0] = 'B';
        coded[1] = 'D';
        coded[2] = 'C';
        coded[3] = '1';
        const int n = 1 + static_cast<int>(random() % 256);
        coded[16] = static_cast<std::uint8_t>(n - 1);
        coded[17] = static_cast<std::uint8_t>((n - 1) >> 8);
        coded[18] = static_cast<std::uint8_t>(sel);
        for (int g = 0; g < 4; ++g)
            coded[19 + g] = static_cast<std::uint8_t>(random() % (round % 3 ? 9 : 20));
        for (int i = 0; i < n; ++i)
            coded.push_back(static_cast<std::uint8_t>(random()));
        const std::size_t words = random() % 200;
        for (std::size_t i = 0; i < words * 2; ++i)
            coded.push_back(static_cast<std::uint8_t>(random()));
        PutLe32(coded, 8, static_cast<std::uint32_t>(random() % (words * 3 + 1)));
        PutLe32(coded, 4, static_cast<std::uint32_t>(coded.size()));

        Bytes expected;
        const bool expectedOk = ReferenceDecode(coded, expected);
        const TDecodeResult r = Decoded(coded);
        ASSERT_EQ(r.Ok, expectedOk) << "round " << round;
        if (expectedOk) {
            ASSERT_EQ(r.Plain, expected) << "round " << round;
        }
    }
}

TEST(DeltaCodeDecoder, ReportsTheStageThatFailed)
{
    const Bytes good = Encoded(FromText("hello, hello, hello"));

    Bytes notBdc = good;
    notBdc[3] = '2';
    EXPECT_EQ(Decoded(notBdc).Error, TDeltaCode::ErrorFormat);
    EXPECT_EQ(Decoded(FromText("BD")).Error, TDeltaCode::ErrorFormat);

    Bytes sizeTooLarge = good;
    PutLe32(sizeTooLarge, 4, static_cast<std::uint32_t>(good.size() + 1));
    EXPECT_FALSE(Decoded(sizeTooLarge).Ok);
    EXPECT_EQ(Decoded(sizeTooLarge).Error, TDeltaCode::ErrorStreamSize);

    Bytes cut(good.begin(), good.end() - 2);
    EXPECT_EQ(Decoded(cut).Error, TDeltaCode::ErrorStreamSize);
    PutLe32(cut, 4, static_cast<std::uint32_t>(cut.size()));
    EXPECT_FALSE(Decoded(cut).Ok);
    EXPECT_EQ(Decoded(cut).Error, TDeltaCode::ErrorPlainSize);

    const TDecodeResult ok = Decoded(good);
    EXPECT_TRUE(ok.Ok);
    EXPECT_EQ(ok.Error, TDeltaCode::ErrorPlainSize);
}

TEST(DeltaCodeDecoder, RejectsHeadersThatCannotBeDecodedSafely)
{
    const Bytes good = Encoded(FromText("some text to code, some text to code"));
    auto withByte = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return Decoded(b);
    };
    // More than 256 symbols would overrun the symbol table.
    EXPECT_EQ(withByte(17, 1).Error, TDeltaCode::ErrorStreamSize);
    // A selector of no bits makes codes of no bits; one of three bits names groups that do not exist.
    EXPECT_EQ(withByte(18, 0).Error, TDeltaCode::ErrorStreamSize);
    EXPECT_EQ(withByte(18, 3).Error, TDeltaCode::ErrorStreamSize);
    // A code wider than the reader can ever hold.
    EXPECT_EQ(withByte(19, 200).Error, TDeltaCode::ErrorStreamSize);
    // A header shorter than its fixed part.
    Bytes shortHeader(good.begin(), good.begin() + 20);
    PutLe32(shortHeader, 4, 20);
    EXPECT_EQ(Decoded(shortHeader).Error, TDeltaCode::ErrorStreamSize);
}

TEST(DeltaCodeDecoder, APlainSizeBeyondTheCodeWordsFailsWithoutAllocatingIt)
{
    Bytes coded = Encoded(FromText("abc"));
    PutLe32(coded, 8, 0xFFFFFFF0u);
    const TDecodeResult r = Decoded(coded);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, TDeltaCode::ErrorPlainSize);
    EXPECT_LT(r.Plain.capacity(), 1024u);
}
