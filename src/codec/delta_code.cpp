#include "codec/delta_code.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace olve {

const char* const TDeltaCode::ErrorFormat = "データの形式が違います";
const char* const TDeltaCode::ErrorStreamSize = "記録データのサイズが違います";
const char* const TDeltaCode::ErrorPlainSize = "読み出しデータのサイズが違います";

namespace {

constexpr std::uint8_t Magic[4] = {'B', 'D', 'C', '1'};
constexpr std::uint8_t EncoderWidths[3] = {1, 3, 5};
constexpr std::uint8_t EncoderLast[3] = {1, 9, 41};
// Codes up to this length are decoded with one table look-up.
constexpr int MaxTableBits = 12;
// Longest code the 64-bit reader can hold beside a partly used 16-bit word.
constexpr int MaxCodeBits = 48;

void PutLE16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLE32At(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetLE32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Bit length of the smallest k with 2^k > value.
std::uint8_t BitLength(unsigned value)
{
    std::uint8_t k = 0;
    while ((1u << k) <= value)
        ++k;
    return k;
}

// The decoder's view of a header: how each group is coded.
struct TCodeShape {
    int SelectorWidth = 0;
    int Groups = 0;
    std::uint8_t Width[4]{};
    std::uint8_t FirstRank[4]{};
    int MinBits = 0;
    int MaxBits = 0;
};

bool ReadShape(const std::uint8_t* header, TCodeShape& shape)
{
    shape.SelectorWidth = header[18];
    if (shape.SelectorWidth < 1 || shape.SelectorWidth > 2)
        return false;
    shape.Groups = 1 << shape.SelectorWidth;
    std::uint8_t first = 0;
    shape.MinBits = MaxCodeBits;
    for (int g = 0; g < 4; ++g) {
        shape.Width[g] = header[19 + g];
        shape.FirstRank[g] = first;
        first = static_cast<std::uint8_t>(first + (shape.Width[g] >= 8 ? 0 : 1u << shape.Width[g]));
        if (g >= shape.Groups)
            continue;
        const int bits = shape.SelectorWidth + shape.Width[g];
        if (bits > MaxCodeBits)
            return false;
        shape.MinBits = std::min(shape.MinBits, bits);
        shape.MaxBits = std::max(shape.MaxBits, bits);
    }
    return true;
}

// The code words are one bit string: each 16-bit little-endian word, most significant bit
// first. Returns the four words at p as the next 64 bits of that string.
std::uint64_t LoadWords(const std::uint8_t* p)
{
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    if constexpr (std::endian::native == std::endian::little)
        x = __builtin_bswap64(x);
    // Now the bytes stand in stream order, but each word's two bytes the wrong way round.
    return ((x & 0x00FF00FF00FF00FFull) << 8) | ((x >> 8) & 0x00FF00FF00FF00FFull);
}

// Reads the code words as one bit string, kept left-aligned in a 64-bit register.
class TBitReader {
public:
    TBitReader(const std::uint8_t* p, const std::uint8_t* end) : FP(p), FEnd(end) {}

    // Tops the register up to at least 49 bits, a word at a time; a lone final byte is the
    // low byte of a word whose high byte is zero.
    void Fill()
    {
        while (FBits <= 48 && FP < FEnd) {
            std::uint64_t w = FP[0];
            if (FP + 1 < FEnd)
                w |= static_cast<std::uint64_t>(FP[1]) << 8;
            FP = std::min(FP + 2, FEnd);
            FBuf |= w << (48 - FBits);
            FBits += 16;
        }
    }
    // The same with one load, while 8 bytes remain. The bits of a word that does not fit
    // whole are ORed in too; the next fill ORs the same bits at the same place.
    bool CanFillFast() const { return FEnd - FP >= 8; }
    void FillFast()
    {
        FBuf |= LoadWords(FP) >> FBits;
        const int words = (63 - FBits) >> 4;
        FP += words * 2;
        FBits += words * 16;
    }
    int Bits() const { return FBits; }
    // n from 1 to 48.
    std::uint64_t Peek(int n) const { return FBuf >> (64 - n); }
    void Skip(int n)
    {
        FBuf <<= n;
        FBits -= n;
    }

private:
    const std::uint8_t* FP;
    const std::uint8_t* FEnd;
    std::uint64_t FBuf = 0;
    int FBits = 0;
};

// Every 12-bit window of the bit string decodes to one or two whole codes. An entry holds
// the first symbol (bits 0-7), the second (8-15), how many there are (16-17), the first
// code's length (18-21) and the length of both (24-28).
std::vector<std::uint32_t> BuildPairLookup(const TCodeShape& shape, const std::uint8_t* symbols)
{
    constexpr int k = MaxTableBits;
    std::vector<std::uint32_t> table(std::size_t{1} << k);
    for (std::uint32_t v = 0; v < table.size(); ++v) {
        // Decodes the code that starts `offset` bits into the window, if it ends inside it.
        auto codeAt = [&](int offset, int& length, std::uint32_t& symbol) {
            if (offset + shape.SelectorWidth > k)
                return false;
            const int g = static_cast<int>((v >> (k - offset - shape.SelectorWidth)) & ((1u << shape.SelectorWidth) - 1));
            const int w = shape.Width[g];
            length = shape.SelectorWidth + w;
            if (offset + length > k)
                return false;
            const std::uint32_t index = (v >> (k - offset - length)) & ((1u << w) - 1);
            symbol = symbols[static_cast<std::uint8_t>(index + shape.FirstRank[g])];
            return true;
        };
        int first = 0, second = 0;
        std::uint32_t s0 = 0, s1 = 0;
        codeAt(0, first, s0);
        const bool pair = codeAt(first, second, s1);
        table[v] = s0 | (s1 << 8) | ((pair ? 2u : 1u) << 16) | (static_cast<std::uint32_t>(first) << 18) |
                   (static_cast<std::uint32_t>(first + (pair ? second : 0)) << 24);
    }
    return table;
}

std::size_t DecodeByTable(const TCodeShape& shape, const std::uint8_t* symbols, TBitReader& in,
                          std::uint8_t* out, std::size_t count)
{
    const std::vector<std::uint32_t> table = BuildPairLookup(shape, symbols);
    std::size_t done = 0;
    // A fast fill leaves at least 48 bits: enough for four look-ups of up to two bytes each.
    while (count - done >= 8 && in.CanFillFast()) {
        in.FillFast();
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t e = table[in.Peek(MaxTableBits)];
            out[done] = static_cast<std::uint8_t>(e);
            out[done + 1] = static_cast<std::uint8_t>(e >> 8);
            done += (e >> 16) & 3;
            in.Skip(static_cast<int>(e >> 24));
        }
    }
    // The last codes one at a time, each checked against the end of the stream.
    while (done < count) {
        if (in.Bits() < MaxTableBits)
            in.Fill();
        const std::uint32_t e = table[in.Peek(MaxTableBits)];
        const int length = static_cast<int>((e >> 18) & 15);
        if (length > in.Bits())
            break;
        out[done++] = static_cast<std::uint8_t>(e);
        in.Skip(length);
    }
    return done;
}

// Codes too long for the table: the selector, then the index.
std::size_t DecodeByGroups(const TCodeShape& shape, const std::uint8_t* symbols, TBitReader& in,
                           std::uint8_t* out, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        if (in.Bits() < shape.MaxBits)
            in.Fill();
        if (in.Bits() < shape.SelectorWidth)
            break;
        const int g = static_cast<int>(in.Peek(shape.SelectorWidth));
        const int w = shape.Width[g];
        if (shape.SelectorWidth + w > in.Bits())
            break;
        in.Skip(shape.SelectorWidth);
        const std::uint64_t index = w == 0 ? 0 : in.Peek(w);
        in.Skip(w);
        out[done++] = symbols[static_cast<std::uint8_t>(index + shape.FirstRank[g])];
    }
    return done;
}

}  // namespace

void TDeltaCode::ResetTable()
{
    for (int i = 0; i < 256; ++i)
        FTable[i] = TEntry{static_cast<std::uint8_t>(i), 0, 0};
}

void TDeltaCode::SortByCount(int left, int right)
{
    int i = left;
    int j = right;
    const std::uint32_t pivot = FTable[(left + right) / 2].Count;
    do {
        while (FTable[i].Count > pivot)
            ++i;
        while (FTable[j].Count < pivot)
            --j;
        if (i <= j) {
            std::swap(FTable[i].Symbol, FTable[j].Symbol);
            std::swap(FTable[i].Count, FTable[j].Count);
            ++i;
            --j;
        }
    } while (i <= j);
    if (left < j)
        SortByCount(left, j);
    if (i < right)
        SortByCount(i, right);
}

void TDeltaCode::RankSymbols()
{
    FSymbolCountMinusOne = 0;
    for (int r = 0; r < 256 && FTable[r].Count != 0; ++r) {
        FSymbolCountMinusOne = static_cast<std::uint16_t>(r);
        FTable[FTable[r].Symbol].Code = static_cast<std::uint8_t>(r);
    }
    FWidth3 = FSymbolCountMinusOne <= EncoderLast[2] ? 6 : BitLength(FSymbolCountMinusOne - EncoderLast[2]);
}

void TDeltaCode::WriteHeader()
{
    Coded.assign(HeaderSize, 0);
    std::memcpy(Coded.data(), Magic, 4);
    PutLE32At(Coded, 8, static_cast<std::uint32_t>(Plain.size()));
    Coded[16] = static_cast<std::uint8_t>(FSymbolCountMinusOne);
    Coded[17] = static_cast<std::uint8_t>(FSymbolCountMinusOne >> 8);
    Coded[18] = 2;
    Coded[19] = EncoderWidths[0];
    Coded[20] = EncoderWidths[1];
    Coded[21] = EncoderWidths[2];
    Coded[22] = FWidth3;
    for (int i = 0; i <= FSymbolCountMinusOne; ++i)
        Coded.push_back(FTable[i].Symbol);
}

void TDeltaCode::WriteCodeWords()
{
    // Per byte value: its code, right-aligned, and the code's length.
    std::uint32_t code[256];
    int length[256];
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t r = FTable[b].Code;
        int g = 3;
        while (g > 0 && r <= EncoderLast[g - 1])
            --g;
        const std::uint8_t first = g == 0 ? 0 : EncoderLast[g - 1] + 1;
        const int width = g < 3 ? EncoderWidths[g] : FWidth3;
        code[b] = static_cast<std::uint32_t>(r - first) | (static_cast<std::uint32_t>(g) << width);
        length[b] = width + 2;
    }

    Coded.reserve(Coded.size() + Plain.size() * 10 / 16 + 4);
    std::uint64_t acc = 0;  // pending bits, right-aligned
    int pending = 0;
    for (std::uint8_t b : Plain) {
        acc = (acc << length[b]) | code[b];
        pending += length[b];
        if (pending >= 16) {
            pending -= 16;
            PutLE16(Coded, static_cast<std::uint32_t>(acc >> pending) & 0xFFFF);
        }
    }
    if (pending > 0)
        PutLE16(Coded, static_cast<std::uint32_t>(acc << (16 - pending)) & 0xFFFF);
}

bool TDeltaCode::Encode()
{
    Coded.clear();
    ResetTable();
    for (std::uint8_t b : Plain)
        ++FTable[b].Count;
    SortByCount(0, 255);
    RankSymbols();
    WriteHeader();
    WriteCodeWords();
    PutLE32At(Coded, 4, static_cast<std::uint32_t>(Coded.size()));
    return true;
}

bool TDeltaCode::Decode(std::optional<std::uint32_t> expectedSize)
{
    try {
        return DecodeStream(expectedSize);
    } catch (const std::bad_alloc&) {
        // Data too large for the memory at hand cannot be decoded; the stage's text stands.
        Plain.clear();
        Plain.shrink_to_fit();
        return false;
    }
}

bool TDeltaCode::DecodeStream(std::optional<std::uint32_t> expectedSize)
{
    Plain.clear();
    FLastError = ErrorFormat;
    const std::uint8_t* data = Coded.data();
    const std::size_t size = Coded.size();
    if (size < 4 || std::memcmp(data, Magic, 4) != 0)
        return false;

    FLastError = ErrorStreamSize;
    if (size < HeaderSize || GetLE32(data + 4) != size)
        return false;
    const std::uint32_t plainSize = GetLE32(data + 8);
    const unsigned symbolCount = (data[16] | (data[17] << 8)) + 1u;
    TCodeShape shape;
    if (symbolCount > 256 || !ReadShape(data, shape))
        return false;

    ResetTable();
    std::uint8_t symbols[256];
    for (int i = 0; i < 256; ++i)
        symbols[i] = static_cast<std::uint8_t>(i);
    const std::size_t codeStart = std::min(size, HeaderSize + symbolCount);
    std::memcpy(symbols, data + HeaderSize, codeStart - HeaderSize);
    for (std::size_t i = 0; i < codeStart - HeaderSize; ++i)
        FTable[i].Symbol = symbols[i];

    FLastError = ErrorPlainSize;
    const std::uint64_t codeBits = (size - codeStart + 1) / 2 * 16;
    if (plainSize > codeBits / static_cast<unsigned>(shape.MinBits) || (expectedSize && plainSize != *expectedSize))
        return false;
    Plain.resize(plainSize);
    TBitReader in(data + codeStart, data + size);
    const std::size_t done = shape.MaxBits <= MaxTableBits
                                 ? DecodeByTable(shape, symbols, in, Plain.data(), plainSize)
                                 : DecodeByGroups(shape, symbols, in, Plain.data(), plainSize);
    if (done != plainSize) {
        Plain.resize(done);
        return false;
    }
    return true;
}

}  // namespace olve
