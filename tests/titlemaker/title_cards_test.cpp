#include <gtest/gtest.h>

#include <fstream>

#include "codec/card_text.h"
#include "codec/cp932_text.h"
#include "support/temp_folder.h"
#include "timing/positions.h"
#include "codec/comma_text.h"
#include "title/play_card_text.h"
#include "title/shown_card_text.h"
#include "title/word_times.h"
#include "titlemaker/card_export.h"
#include "titlemaker/cue_pictures.h"
#include "titlemaker/sub_texts.h"
#include "titlemaker/title_cards.h"
#include "titlemaker/title_code.h"

using namespace olve;

namespace {

TSubtitleCue Cue(int number, std::int64_t start, std::int64_t end, const std::string& text,
                 std::vector<TTimedPart> parts = {})
{
    return {number, start, end, text, std::move(parts)};
}

}  // namespace

TEST(CardTiming, MillisecondsBecomePackedPositionsOfTheFirstMedia)
{
    const std::uint32_t p = PackedPositionOf(61234);
    EXPECT_EQ(PackedMedia(p), 1u);
    EXPECT_EQ(PackedTime(p), 61234u);
    EXPECT_EQ(PositionText(p, otfTrackMilliseconds), "01 01:01:234");
    EXPECT_EQ(PackedTime(PackedPositionOf(4LL * 3600 * 1000 + 15 * 60000)), 15300000u);
}

TEST(CardText, LineBreaksBecomeBarsAndTextBecomesShiftJis)
{
    std::string main;
    EXPECT_TRUE(CardMainText("Hello\nworld", main));
    EXPECT_EQ(main, "Hello||world");
    EXPECT_TRUE(CardMainText("日本\n語", main));
    EXPECT_EQ(main, "\x93\xFA\x96\x7B||\x8C\xEA");
    EXPECT_FALSE(CardMainText("smile \xF0\x9F\x98\x80", main));
    EXPECT_EQ(main, "smile ?");
}

TEST(CardText, WordRangesCountShiftJisBytesOfTheStoredText)
{
    // "今日は||いい天気 today": 6 bytes, 2 for the bars, then 8 bytes of "いい天気".
    const std::string text = "今日は\nいい天気 today";
    std::int32_t start = 0, length = 0;
    PartRange(text, 10, 23, start, length);
    EXPECT_EQ(start, 8);
    EXPECT_EQ(length, 8);
    PartRange(text, 22, text.size(), start, length);
    EXPECT_EQ(start, 17);
    EXPECT_EQ(length, 5);
}

TEST(TitleCards, TimedWordsStayInTheCueCardWithTheirShiftJisOffsetsAndTimes)
{
    TPlayPackage package;
    std::vector<std::string> notes;
    // "日本語を||話します||today": the second word after 8 bytes and the bars, the third after
    // 8 more bytes, two bars and the blank that leads its line.
    const std::vector<TSubtitleCue> cues = {
        Cue(1, 1000, 2000, "Plain\ncue"),
        Cue(3, 2000, 5000, "日本語を\n話します\n today", {{2000, 0}, {3500, 13}, {4200, 26}}),
    };
    AddMainCards(package, cues, {"ふつう", "Japanese"}, {"1.png", ""}, notes);
    EXPECT_TRUE(notes.empty());
    ASSERT_EQ(package.MainCards.Count(), 2);

    const TPlayCardItem& plain = package.MainCards.Card(0);
    EXPECT_EQ(plain.MainText, "Plain||cue");
    EXPECT_EQ(plain.SubText, Utf8ToCp932("ふつう"));
    EXPECT_EQ(plain.Picture, "1.png");
    EXPECT_EQ(plain.DataText, "");
    EXPECT_EQ(plain.TimeFormat, otfTrackMilliseconds);
    EXPECT_EQ(package.MainCards.StartUnits(0), 1000);
    EXPECT_EQ(package.MainCards.EndUnits(0), 2000);

    const TPlayCardItem& timed = package.MainCards.Card(1);
    EXPECT_EQ(timed.MainText, Utf8ToCp932("日本語を||話します|| today"));
    EXPECT_EQ(timed.SubText, "Japanese");
    EXPECT_EQ(timed.DataText, "WTM=0:0;10:1500;21:2200");
    EXPECT_EQ(WordTimesOf(timed.DataText, static_cast<std::int64_t>(timed.MainText.size()), 3000),
              (std::vector<TWordTime>{{0, 0}, {10, 1500}, {21, 2200}}));
    EXPECT_EQ(package.MainCards.StartUnits(1), 2000);
    EXPECT_EQ(package.MainCards.EndUnits(1), 5000);
    EXPECT_EQ(package.MainCards.ShowText(1), timed.MainText);
}

TEST(TitleCards, TheFirstVcdCardSpansTheRecording)
{
    TPlayPackage package;
    AddWholeRecordingCard(package, "Demo", 31174);
    ASSERT_EQ(package.VcdCards.Count(), 1);
    EXPECT_EQ(package.VcdCards.Card(0).MainText, "Demo");
    EXPECT_EQ(package.VcdCards.StartUnits(0), 0);
    EXPECT_EQ(package.VcdCards.EndUnits(0), 31174);
}

TEST(SubTexts, EachTranslationCueGoesWhereItOverlapsMost)
{
    const std::vector<TSubtitleCue> main = {Cue(1, 0, 2000, "a"), Cue(2, 2000, 4000, "b"), Cue(3, 4000, 6000, "c"),
                                            Cue(4, 7000, 8000, "d")};
    const std::vector<TSubtitleCue> translation = {Cue(1, 0, 4000, "長い\n訳"), Cue(2, 4000, 5000, "前半"),
                                                   Cue(3, 5000, 6100, "後半"), Cue(4, 6000, 6900, "間")};
    EXPECT_EQ(MatchSubTexts(main, translation), (std::vector<std::string>{"長い訳", "長い訳", "前半後半", ""}));
    EXPECT_EQ(MatchSubTexts(main, {}), (std::vector<std::string>(4)));
}

TEST(SubTexts, LinesJoinWithASpaceExceptBetweenJapanese)
{
    EXPECT_EQ(OneLine("Hello\nworld"), "Hello world");
    EXPECT_EQ(OneLine("日本\n語"), "日本語");
    EXPECT_EQ(OneLine("A\n日本\nB"), "A 日本 B");
    EXPECT_EQ(OneLine(""), "");
}

TEST(CuePictures, NumberedPicturesAreFoundAndDuplicatesNoted)
{
    TTempFolder dir;
    for (const char* name : {"1.png", "01.jpg", "2.JPG", "10.gif", "cover.png", "3.txt", "4a.png"})
        std::ofstream(dir / name) << "x";
    std::filesystem::create_directory(dir / "5.png");
    std::map<int, std::string> pictures;
    std::vector<std::string> notes;
    std::string error;
    ASSERT_TRUE(FindCuePictures(dir.Path().string(), pictures, notes, error));
    EXPECT_EQ(pictures, (std::map<int, std::string>{{1, dir / "01.jpg"}, {2, dir / "2.JPG"}, {10, dir / "10.gif"}}));
    EXPECT_EQ(notes, (std::vector<std::string>{"pictures: 1.png has the number of 01.jpg; not used"}));
    EXPECT_FALSE(FindCuePictures(dir / "missing", pictures, notes, error));
    EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST(TitleCodes, DerivedFromTheRecordingsBytes)
{
    TTempFolder dir;
    std::ofstream(dir / "a.ogg") << "one recording";
    std::ofstream(dir / "b.ogg") << "one recording";
    std::ofstream(dir / "c.ogg") << "another recording";
    std::string a, b, c, error;
    ASSERT_TRUE(DerivedTitleCode(dir / "a.ogg", a, error));
    ASSERT_TRUE(DerivedTitleCode(dir / "b.ogg", b, error));
    ASSERT_TRUE(DerivedTitleCode(dir / "c.ogg", c, error));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a.size(), 13u);
    EXPECT_EQ(a.find_first_not_of("0123456789ABCDEF", 1), std::string::npos);
    EXPECT_EQ(a[0], 'M');
    EXPECT_FALSE(DerivedTitleCode(dir / "missing.ogg", a, error));
}

TEST(TitleCodes, GivenCodesMustNameFolders)
{
    std::string stored, error;
    EXPECT_TRUE(StoredTitleCode("K0123", stored, error));
    EXPECT_EQ(stored, "K0123");
    EXPECT_TRUE(StoredTitleCode("英語01", stored, error));
    EXPECT_EQ(stored, "\x89\x70\x8C\xEA" "01");
    for (const std::string& bad : {std::string(), std::string("a/b"), std::string("a\\b"), std::string(" a"),
                                   std::string("a."), std::string("K..1"), std::string("x:y"), std::string("tab\t"),
                                   std::string(65, 'k'), std::string("\xF0\x9F\x98\x80")}) {
        EXPECT_FALSE(StoredTitleCode(bad, stored, error)) << bad;
        EXPECT_NE(error.find("cannot name a title"), std::string::npos);
    }
}

TEST(TitleCards, LettersShiftJisLacksAreKeptForTheCardListAndExport)
{
    TPlayPackage package;
    std::vector<std::string> notes;
    // "café — fin" with its words timed, and a plain card that needs no exact text.
    AddMainCards(package,
                 {Cue(1, 0, 3000, "caf\xC3\xA9 \xE2\x80\x94\nfin", {{0, 0}, {2000, 10}}), Cue(2, 3000, 4000, "plain")},
                 {}, {}, notes);
    EXPECT_TRUE(notes.empty());
    const TPlayCardItem& card = package.MainCards.Card(0);
    EXPECT_EQ(card.MainText, "caf? \x81\x5C||fin");
    EXPECT_EQ(GetTag(card.DataText, WordTimesTagName), "0:0;9:2000");
    EXPECT_EQ(ShownCardText(card), "caf\xC3\xA9 \xE2\x80\x94||fin");
    const TShownText shown(card.MainText, card.DataText);
    EXPECT_EQ(shown.Utf8(9, card.MainText.size()), "fin");
    EXPECT_EQ(package.MainCards.Card(1).DataText, "");

    const std::vector<TExportedCard> exported = ExportedCards(package.MainCards, "Talk");
    ASSERT_EQ(exported.size(), 2u);
    EXPECT_EQ(exported[0].English, "caf\xC3\xA9 \xE2\x80\x94<br>fin");
    EXPECT_EQ(exported[1].English, "plain");
}
