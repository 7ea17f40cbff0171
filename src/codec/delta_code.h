#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace olve {

// The BDC codec: a static prefix code over bytes ranked by frequency. Each byte is written
// as a 2-bit group selector followed by its index inside the group.
class TDeltaCode {
public:
    struct TEntry {
        std::uint8_t Symbol;
        std::uint32_t Count;
        std::uint8_t Code;
    };

    static constexpr std::size_t HeaderSize = 32;

    std::vector<std::uint8_t> Plain;
    std::vector<std::uint8_t> Coded;

    TDeltaCode() { ResetTable(); }

    // Codes all of Plain into Coded.
    bool Encode();
    // Decodes Coded into Plain; true when exactly the announced number of bytes came out.
    // A stream that announces more bytes than its code words can hold (at most 8 per coded
    // byte, with one-bit codes), or other than expectedSize when that is known, fails before
    // the memory for them is taken; so does a stream there is no memory for.
    bool Decode(std::optional<std::uint32_t> expectedSize = std::nullopt);
    // The text of the last decoding stage that was started.
    const std::string& LastError() const { return FLastError; }

    // Rank order of the last Encode (position r holds the byte of rank r).
    const std::array<TEntry, 256>& Table() const { return FTable; }
    int SymbolCountMinusOne() const { return FSymbolCountMinusOne; }

    static const char* const ErrorFormat;      // not BDC data
    static const char* const ErrorStreamSize;  // total size does not match, bad header
    static const char* const ErrorPlainSize;   // the code words end too early

private:
    bool DecodeStream(std::optional<std::uint32_t> expectedSize);
    void ResetTable();
    void SortByCount(int left, int right);
    void RankSymbols();
    void WriteHeader();
    void WriteCodeWords();

    std::array<TEntry, 256> FTable{};
    std::uint16_t FSymbolCountMinusOne = 0;
    std::uint8_t FWidth3 = 6;
    std::string FLastError;
};

}  // namespace olve
