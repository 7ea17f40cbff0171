#include <gtest/gtest.h>

#include <fstream>

#include "subtitles/cue_markup.h"
#include "subtitles/subtitle_file.h"
#include "subtitles/subtitle_text.h"
#include "subtitles/subtitle_time.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

std::int64_t Ms(const std::string& text)
{
    std::int64_t ms = -1;
    EXPECT_TRUE(ParseSubtitleTime(text, ms)) << text;
    return ms;
}

bool Reads(const std::string& text)
{
    std::int64_t ms = 0;
    return ParseSubtitleTime(text, ms);
}

std::string Decode(const std::string& bytes, TSubtitleEncoding expected)
{
    TSubtitleEncoding encoding = TSubtitleEncoding::Utf8;
    const std::string text = DecodeSubtitleBytes(bytes, encoding);
    EXPECT_EQ(encoding, expected);
    return text;
}

}  // namespace

TEST(SubtitleTime, FractionsAreDecimalWhateverTheirLengthOrSeparator)
{
    EXPECT_EQ(Ms("00:00:01,500"), 1500);
    EXPECT_EQ(Ms("00:00:01.5"), 1500);
    EXPECT_EQ(Ms("00:02:04,08"), 124080);
    EXPECT_EQ(Ms("00:01:39"), 99000);
    EXPECT_EQ(Ms("01:02:03.123456"), 3723123);
    EXPECT_EQ(Ms("2:03.04"), 123040);
}

TEST(SubtitleTime, HoursAndLeadingMinutesMayExceedTwoDigits)
{
    EXPECT_EQ(Ms("100:00:00.000"), 360000000);
    EXPECT_EQ(Ms("120:30.50"), 7230500);
    EXPECT_EQ(SubtitleTimeText(7230500), "02:00:30.500");
}

TEST(SubtitleTime, RejectsWhatIsNoTime)
{
    for (const char* text : {"", "12", "00:60", "00:01:60.000", "01:60:00", "a:00", "00:00:00:00", "00:01.x",
                             "00:-1.0", "00:01. 5", " 00:01"})
        EXPECT_FALSE(Reads(text)) << text;
}

TEST(SubtitleEncoding, ByteOrderMarksDecideThenUtf8ThenShiftJis)
{
    EXPECT_EQ(Decode("\xEF\xBB\xBF" "caf\xC3\xA9", TSubtitleEncoding::Utf8Bom), "caf\xC3\xA9");
    EXPECT_EQ(Decode("caf\xC3\xA9", TSubtitleEncoding::Utf8), "caf\xC3\xA9");
    // "日本" in UTF-16 with either byte order, and a character beyond the first plane.
    EXPECT_EQ(Decode(std::string("\xFF\xFE\xE5\x65\x2C\x67", 6), TSubtitleEncoding::Utf16), "日本");
    EXPECT_EQ(Decode(std::string("\xFE\xFF\x65\xE5\x67\x2C", 6), TSubtitleEncoding::Utf16), "日本");
    EXPECT_EQ(Decode(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), TSubtitleEncoding::Utf16), "\xF0\x9F\x98\x80");
    // "日本語です" in code page 932 is not valid UTF-8.
    EXPECT_EQ(Decode("\x93\xFA\x96\x7B\x8C\xEA\x82\xC5\x82\xB7", TSubtitleEncoding::Cp932), "日本語です");
}

TEST(SubtitleEncoding, LineEndsBecomeLineFeeds)
{
    EXPECT_EQ(Decode("a\r\nb\rc\n\r\nd", TSubtitleEncoding::Utf8), "a\nb\nc\n\nd");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // an overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE6\x97"));          // cut short
    EXPECT_TRUE(IsValidUtf8("plain \xE6\x97\xA5"));
}

TEST(CueMarkup, TagsOverridesAndRubyReadingsAreRemoved)
{
    const TCueText cue = CueTextOfLines({"<i>Hello</i>, <font color=\"#ff0000\">world</font>",
                                         "{\\an8}<c.yellow.bg_blue>up</c> <v Anna>there</v>",
                                         "<ruby>漢字<rt>かんじ</rt></ruby>です"});
    EXPECT_EQ(cue.Text, "Hello, world\nup there\n漢字です");
    EXPECT_TRUE(cue.Stamps.empty());
}

TEST(CueMarkup, ReferencesAreDecodedAndStrayBracketsKept)
{
    EXPECT_EQ(CueTextOfLines({"Fish &amp; chips &lt;3 &#233;t&#xE9; &nbsp;x&lrm;"}).Text, "Fish & chips <3 été  x");
    EXPECT_EQ(CueTextOfLines({"a < b and c > d", "5 &unknown; {not an override}"}).Text,
              "a < b and c > d\n5 &unknown; {not an override}");
}

TEST(CueMarkup, LinesAreTrimmedEmptyOnesDroppedAndStampsFollowTheirText)
{
    const TCueText cue = CueTextOfLines({"  <00:01.00>Hello <00:01.50>big ", "<i></i>", " <00:02.00>world<00:02.40>  "});
    EXPECT_EQ(cue.Text, "Hello big\nworld");
    EXPECT_EQ(cue.Stamps, (std::vector<TTimedPart>{{1000, 0}, {1500, 6}, {2000, 10}, {2400, 15}}));
}

TEST(SubtitleFileFormat, ByExtensionThenByContent)
{
    EXPECT_EQ(SubtitleFormatOf("/a/b.SRT", "WEBVTT"), TSubtitleFormat::SubRip);
    EXPECT_EQ(SubtitleFormatOf("b.Vtt", ""), TSubtitleFormat::WebVtt);
    EXPECT_EQ(SubtitleFormatOf("b.lrc", ""), TSubtitleFormat::Lrc);
    EXPECT_EQ(SubtitleFormatOf("b.txt", "WEBVTT\n\n"), TSubtitleFormat::WebVtt);
    EXPECT_EQ(SubtitleFormatOf("b.txt", "\n[ti:Song]\n[00:01.00]a\n"), TSubtitleFormat::Lrc);
    EXPECT_EQ(SubtitleFormatOf("v.1/b", "1\n00:00:01,000 --> 00:00:02,000\na\n"), TSubtitleFormat::SubRip);
}

TEST(SubtitleFileReading, ShiftJisFilesAreNotedAndMissingFilesFail)
{
    TTempFolder dir;
    std::ofstream(dir / "ja.srt", std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:02,000\r\n\x93\xFA\x96\x7B\r\n";
    TSubtitleFile file;
    std::string error;
    ASSERT_TRUE(ReadSubtitleFile(dir / "ja.srt", file, error));
    ASSERT_EQ(file.Cues.size(), 1u);
    EXPECT_EQ(file.Cues[0].Text, "日本");
    ASSERT_EQ(file.Notes.size(), 1u);
    EXPECT_NE(file.Notes[0].find("Shift-JIS"), std::string::npos);

    EXPECT_FALSE(ReadSubtitleFile(dir / "missing.srt", file, error));
    EXPECT_NE(error.find("missing.srt"), std::string::npos);
}

TEST(CueMarkup, RubyReadingsGoWhateverTheirClasses)
{
    EXPECT_EQ(CueTextOfLines({"<ruby>漢字<rt.small>かんじ</rt></ruby>と<ruby>本<rp>(</rp><RT lang=ja>ほん</RT><rp>)</rp></ruby>",
                              "<ruby>字<rt.x>じ</ruby>です"})
                  .Text,
              "漢字と本\n字です");
}

TEST(SubtitleEncoding, Utf16WithoutAMarkAndWesternTextThatIsNotShiftJis)
{
    // "1\n日本\n" in UTF-16 without a byte-order mark, in both byte orders.
    EXPECT_EQ(Decode(std::string("1\0\n\0\xE5\x65\x2C\x67\n\0", 10), TSubtitleEncoding::Utf16NoMark), "1\n日本\n");
    EXPECT_EQ(Decode(std::string("\0" "1\0\n\x65\xE5\x67\x2C\0\n", 10), TSubtitleEncoding::Utf16NoMark), "1\n日本\n");
    EXPECT_EQ(Decode("Caf\xE9 \x93ol\xE9\x94 \x80" "5\r\nse\xF1or", TSubtitleEncoding::Windows1252),
              "Café “olé” €5\nseñor");
}

TEST(SubtitleFileReading, EmptyAndBinaryFilesFailAndNotesDoNotFlood)
{
    TTempFolder dir;
    std::ofstream(dir / "empty.srt", std::ios::binary) << "\xEF\xBB\xBF\r\n  \r\n";
    std::string binary("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 200; ++i)
        binary += std::string("\0\x01\xFE\x7F\n[x]", 8);
    std::ofstream(dir / "picture.srt", std::ios::binary) << binary;
    std::string stray;
    for (int i = 0; i < 20; ++i)
        stray += "junk\n\n";
    std::ofstream(dir / "stray.srt", std::ios::binary) << stray << "00:00:01,000 --> 00:00:02,000\nKept\n";
    TSubtitleFile file;
    std::string error;
    EXPECT_FALSE(ReadSubtitleFile(dir / "empty.srt", file, error));
    EXPECT_NE(error.find("the file is empty"), std::string::npos) << error;
    EXPECT_FALSE(ReadSubtitleFile(dir / "picture.srt", file, error));
    EXPECT_NE(error.find("not a subtitle file"), std::string::npos) << error;

    ASSERT_TRUE(ReadSubtitleFile(dir / "stray.srt", file, error));
    EXPECT_EQ(file.Cues.size(), 1u);
    ASSERT_EQ(file.Notes.size(), 6u);
    EXPECT_EQ(file.Notes[0], "line 1: text outside any cue; passed over");
    EXPECT_EQ(file.Notes[5], "and 15 more notes like these");
}
