#include <gtest/gtest.h>

#include "codec/cp932_text.h"

using namespace olve;

TEST(Cp932Text, ConvertsJapaneseAndTheBackslashBothWays)
{
    const std::string bytes = "\x93\xFA\x96\x7B\x8C\xEA" "C:\\titles";  // 日本語
    EXPECT_EQ(Cp932ToUtf8(bytes), "日本語C:\\titles");
    EXPECT_EQ(Utf8ToCp932("日本語C:\\titles"), bytes);
    // NEC and IBM extensions that other Shift-JIS tables lack.
    EXPECT_EQ(Utf8ToCp932("①"), "\x87\x40");
    EXPECT_EQ(Cp932ToUtf8("\xFA\x40"), "ⅰ");
    EXPECT_EQ(Cp932ToUtf8("\xB1"), "ｱ");
}

TEST(Cp932Text, EveryValidCharacterRoundTrips)
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<std::uint8_t>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Cp932ToUtf8(bytes);
            if (utf8 == "\xEF\xBF\xBD" || utf8.size() <= 1 || utf8.find("\xEF\xBF\xBD") != std::string::npos)
                continue;
            ++characters;
            std::string back;
            ASSERT_TRUE(Utf8ToCp932(utf8, back)) << std::hex << lead << trail;
            ASSERT_EQ(Cp932ToUtf8(back), utf8) << std::hex << lead << trail;
        }
    }
    EXPECT_GT(characters, 7900);
}

TEST(Cp932Text, InvalidBytesBecomeReplacementCharactersOnePerByte)
{
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("\x81\x20z"), "\xEF\xBF\xBD z");
    std::string bytes;
    EXPECT_FALSE(Utf8ToCp932("a😀b", bytes));
    EXPECT_EQ(bytes, "a?b");
}

TEST(Cp932Text, ByteOffsetsMapToCharacterOffsets)
{
    const std::string bytes = "I \x88\xA4 you\r\n\x82\xA0";  // I 愛 you CR LF あ
    const std::vector<int> offsets = Cp932CharOffsets(bytes);
    ASSERT_EQ(offsets.size(), bytes.size() + 1);
    EXPECT_EQ(offsets[2], 2);
    EXPECT_EQ(offsets[3], 2);
    EXPECT_EQ(offsets[4], 3);
    EXPECT_EQ(offsets[10], 9);
    EXPECT_EQ(offsets[11], 9);
    EXPECT_EQ(offsets.back(), 10);
}

TEST(Cp932Text, CaseIsIgnoredOnlyForSingleByteLetters)
{
    EXPECT_TRUE(SameTextIgnoringCase("[System]", "[SYSTEM]"));
    // "\x83\x41" (ア) and "\x83\x61" (ヂ): trail bytes that look like A and a.
    EXPECT_FALSE(SameTextIgnoringCase("\x83\x41", "\x83\x61"));
    EXPECT_EQ(LowerAscii("ABC\x83\x41"), "abc\x83\x41");
    EXPECT_TRUE(SameAsciiIgnoringCase("/home/U/Desktop", "/home/u/desktop"));
}
