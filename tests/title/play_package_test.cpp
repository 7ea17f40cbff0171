#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "codec/compress_string_list.h"
#include "support/kill_midway.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "timing/positions.h"
#include "title/play_package.h"

using namespace olve;
using Lines = std::vector<std::string>;

namespace {

// Reports every media as one with millisecond positions, as the player does.
class TMillisecondMedia : public TMediaTimeFormats {
public:
    TOlveTimeFormat MediaTimeFormat(int) const override { return otfTrackMilliseconds; }
};

class TitleFiles : public testing::Test {
protected:
    TTempFolder Dir;
    TRecordingPrompts Prompts;
    TMillisecondMedia Media;
    TPlayPackage Package;

    void SetUp() override { Package.Player = &Media; }

    std::string Write(const std::string& name, const Lines& lines)
    {
        TCompressStringList list;
        for (const auto& line : lines)
            list.Add(line);
        EXPECT_EQ(list.SaveToFile(Dir / name), 0);
        return Dir / name;
    }
    Lines Read(const std::string& path)
    {
        TCompressStringList list;
        list.LoadFromFile(path);
        return list.Lines();
    }
    std::vector<std::string> MainTexts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Package.MainCards.Count(); ++i)
            texts.push_back(Package.MainCards.Card(i).MainText);
        return texts;
    }
};

const std::string MsHeader = "TimeFormat=TMilliseconds";

}  // namespace

TEST_F(TitleFiles, ATitleOfOnlyItsSerialAsksToConvertAndLoadsEmpty)
{
    const std::string path = Write("t.qzc", {"", "VolSerialNum=K100", ""});
    Prompts.Answers = {false};
    EXPECT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD, Prompts.Consent()));
    ASSERT_EQ(Prompts.Said.size(), 1u);
    EXPECT_EQ(Prompts.Said[0], path + "\r\n\r\nこのタイトルはオーディオＣＤ用です\r\n\r\n時間の記録方式をメディアファイル用に変更しますか？");
    EXPECT_EQ(Package.Settings.Lines(), Lines{"VolSerialNum=K100"});
    EXPECT_EQ(Package.TimeFormat, otfTMSF);
    EXPECT_EQ(Package.MainCards.Count(), 0);
    EXPECT_EQ(Package.GetSetting("volserialnum"), "K100");
}

TEST_F(TitleFiles, MissingUndecodableAndSerialLessFilesDoNotLoad)
{
    EXPECT_FALSE(Package.LoadFromFile(Dir / "none.qzc", false, mtNone));
    EXPECT_TRUE(Package.FileName.empty());
    EXPECT_FALSE(Package.LoadFromFile(Write("noserial.qzc", {MsHeader, "1,0,0,0,1,0,1,0,a,b,,"}), false, mtNone));
    std::ofstream(Dir / "plain.qzc") << "VolSerialNum=1\r\n";
    EXPECT_FALSE(Package.LoadFromFile(Dir / "plain.qzc", false, mtNone));
    EXPECT_EQ(Package.FileName, Dir / "plain.qzc");
}

// The words are a table indexed by the format: its order must be the enumeration's.
TEST_F(TitleFiles, EachTimeFormatWordReadsAsItsFormatAndIsWrittenBack)
{
    const std::vector<std::pair<std::string, TOlveTimeFormat>> words = {
        {"UnKnown", otfNone}, {"TMSF", otfTMSF}, {"TMilliseconds", otfTrackMilliseconds}, {"TFrame", otfFrames}};
    for (const auto& [word, format] : words) {
        ASSERT_TRUE(Package.LoadFromFile(Write("t.qzc", {"TimeFormat=" + word, "VolSerialNum=A1"}), false, mtNone));
        EXPECT_EQ(Package.TimeFormat, format) << word;
        EXPECT_EQ(TimeFormatWord(format), word);
    }
    // Titles older than the key, or with a word that names nothing, are TMSF.
    ASSERT_TRUE(Package.LoadFromFile(Write("t.qzc", {"TimeFormat=tframe", "VolSerialNum=A1"}), false, mtNone));
    EXPECT_EQ(Package.TimeFormat, otfTMSF);
}

TEST_F(TitleFiles, SettingsKeepMasksAndTheFirstOfOtherNames)
{
    const std::string path = Write("t.qzc", {"Mask=1", "MTxShw=On", "mtxshw=Off", "Mask=2", "MTX=shared text",
                                             "loose line", MsHeader, "VolSerialNum=A1", "1,0,0,0,1,0,1,0,0,,,"});
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    EXPECT_EQ(Package.Settings.Lines(),
              (Lines{"Mask=1", "MTxShw=On", "Mask=2", "loose line", MsHeader, "VolSerialNum=A1"}));
    EXPECT_EQ(Package.GetSetting("MTXSHW"), "On");
    EXPECT_EQ(MainTexts(), Lines{"shared text"});
    EXPECT_TRUE(Prompts.Said.empty());
}

TEST_F(TitleFiles, CardLinesDecodePositionsTextsAndDefaults)
{
    const std::string path =
        Write("t.qzc", {MsHeader, "VolSerialNum=A1", "1,0,1,500,1,0,3,250,\"Hello, world\",こんにちは,p1.jpg,SST=0",
                        "", "2,1,2,3,2,1,2,900,next,,,", "x,0,0,0,y,0,0,0,bad,,,"});
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    ASSERT_EQ(Package.MainCards.Count(), 3);
    const TPlayCardItem& first = Package.MainCards.Card(0);
    EXPECT_EQ(first.MainText, "Hello, world");
    EXPECT_EQ(first.SubText, "こんにちは");
    EXPECT_EQ(first.Picture, "p1.jpg");
    EXPECT_EQ(first.DataText, "SST=0");
    EXPECT_EQ(first.StartPos, MakePackedPosition(1, 0, 1, 500));
    EXPECT_EQ(first.EndPos, MakePackedPosition(1, 0, 3, 250));
    EXPECT_EQ(first.TimeFormat, otfTrackMilliseconds);
    EXPECT_EQ(first.MediaKind, mtVirtualCD);
    EXPECT_EQ(Package.MainCards.Card(1).StartPos, MakePackedPosition(2, 1, 2, 3));
    // The third line's bad numbers decode as media 1 and zeros.
    EXPECT_EQ(Package.MainCards.Card(2).StartPos, MakePackedPosition(1, 0, 0, 0));
    EXPECT_EQ(Package.MainCards.Card(2).EndPos, MakePackedPosition(1, 0, 0, 0));
}

TEST_F(TitleFiles, ABadFirstCardLineFailsWithoutRepair)
{
    const std::string path = Write("t.qzc", {MsHeader, "VolSerialNum=A1", "one,0,0,0,1,0,1,0,text,,,", "1,0,0,0,1,0,1,0,b,,,"});
    EXPECT_FALSE(Package.LoadFromFile(path, false, mtVirtualCD));
    EXPECT_EQ(Package.MainCards.Count(), 0);
    EXPECT_EQ(Package.Settings.Count(), 2);
    EXPECT_TRUE(Prompts.Said.empty());
}

TEST_F(TitleFiles, RepairRewritesTheOldLayoutOnceAndReportsBrokenLines)
{
    const std::string old = Write("old.qzc", {MsHeader, "VolSerialNum=A1", "\"First text\",1,0,0,0,1,0,2,0,sub,,",
                                              "Second,1,0,2,0,1,0,3,0,,,"});
    const TTitleLoadReport repaired = Package.Load(old, true, mtVirtualCD);
    ASSERT_EQ(repaired.Outcome, TTitleLoad::Loaded);
    EXPECT_EQ(MainTexts(), (Lines{"First text", "Second"}));
    EXPECT_EQ(Package.MainCards.Card(0).SubText, "sub");
    EXPECT_EQ(Package.MainCards.Card(1).EndPos, MakePackedPosition(1, 0, 3, 0));
    ASSERT_EQ(repaired.Notes.size(), 1u);
    EXPECT_EQ(BilingualText(repaired.Notes[0]), "時間データが旧式だったので書き換えました");

    const std::string broken = Write("broken.qzc", {MsHeader, "VolSerialNum=A1", "1,0,0,0,1,0,1,0,a,,,", "1,0,x,0,1,0,1,0,b,,,"});
    const TTitleLoadReport damaged = Package.Load(broken, true, mtVirtualCD);
    EXPECT_EQ(damaged.Outcome, TTitleLoad::DamagedTimes);
    ASSERT_EQ(damaged.Notes.size(), 1u);
    EXPECT_EQ(damaged.Notes[0].Kind, TFailureKind::Damaged);
    EXPECT_EQ(BilingualText(damaged.Notes[0]),
              "再生時間データが破損しています\r\n\r\n \r\n\r\n file = " + broken + " \r\n\r\n [3] 1,0,x,0,1,0,1,0,b,,,");
    EXPECT_TRUE(Prompts.Said.empty());
}

TEST_F(TitleFiles, OnlyTheFirstRunOfATagCountsAndWvpSkipsALine)
{
    const std::string path =
        Write("t.wvp", {MsHeader, "vcd=1,0,0,0,1,0,9,0,all,,,", "VCD=1,0,9,0,1,0,10,0,more,,,", "vcd=1,0,0,0,1,0,1,0,lower,,,",
                        "Other=x", "VCD=1,0,0,0,1,0,1,0,second run,,,", "VolSerialNum=A1", "not a card", "1,0,0,0,1,0,1,0,card,,,"});
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    ASSERT_EQ(Package.VcdCards.Count(), 2);
    EXPECT_EQ(Package.VcdCards.Card(1).MainText, "more");
    EXPECT_EQ(MainTexts(), Lines{"card"});
}

TEST_F(TitleFiles, TablesAndOldTagsResolveOnReading)
{
    const std::string path =
        Write("t.qzc", {MsHeader, "VCD=1,0,0,0,1,0,5,0,0,,,SDR=1", "STKD=first", "STKD=second",
                        "KHG=1,0,0,0,1,0,1,0,1,,,", "KHS=1,0,0,0,1,0,1,0,0,,,\"KGT=old,KSD=0\"",
                        "KHSDirections=Listen", "MTX=zero", "MTX=one", "VolSerialNum=A1", "1,0,0,0,1,0,1,0,1,,,",
                        "1,0,1,0,1,0,2,0,7,,,"});
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    EXPECT_EQ(Package.VcdCards.Card(0).MainText, "0") << "VCD texts are never table indexes";
    EXPECT_EQ(Package.VcdCards.Card(0).DataText, "SDR=second");
    EXPECT_EQ(Package.KhgCards.Card(0).MainText, "one");
    EXPECT_EQ(Package.KhsCards.Card(0).MainText, "zero");
    EXPECT_EQ(Package.KhsCards.Card(0).DataText, "KUT=old,KSD=Listen");
    EXPECT_EQ(MainTexts(), (Lines{"one", "7"}));
}

TEST_F(TitleFiles, WritingAndReadingBackKeepsEveryList)
{
    const std::string source =
        Write("src.qzc", {"VolFileTitle=Lesson", MsHeader, "VCD=1,0,0,0,1,0,20,0,\"Whole title\",,,SDR=Story",
                          "KHG=1,0,1,0,1,0,2,0,Hello,,,", "KHS=1,0,2,0,1,0,3,0,Hello,,,KSD=Repeat",
                          "KHS=1,0,3,0,1,0,4,0,HELLO,,,KSD=Repeat", "VolSerialNum=K200",
                          "1,0,1,0,1,0,2,0,Hello,こんにちは,p1.jpg,SST=0", "1,0,2,0,1,0,3,0,\"   \",,,",
                          "1,0,3,0,1,0,4,0,\"Bye  \",,,TAG=x"});
    ASSERT_TRUE(Package.LoadFromFile(source, false, mtVirtualCD));
    const std::string copy = Dir / "copy.qzc";
    ASSERT_TRUE(Package.SaveToFile(copy, "hanako", "", ""));

    const Lines written = Read(copy);
    EXPECT_EQ(written, (Lines{"VolFileTitle=Lesson", MsHeader, "FileType=AudioCDPlay", "VolUser=hanako",
                              "VolMaker=hanako", "VCD=1,0,0,0,1,0,20,0,\"Whole title\",,,SDR=0", "STKD=Story",
                              "KHG=1,0,1,0,1,0,2,0,0,,,", "KHS=1,0,2,0,1,0,3,0,0,,,KSD=0", "KHS=1,0,3,0,1,0,4,0,1,,,KSD=0",
                              "KHSDirections=Repeat", "MTX=Hello", "MTX=HELLO", "MTX=Bye", "VolSerialNum=K200",
                              "1,0,1,0,1,0,2,0,0,こんにちは,p1.jpg,SST=0", "1,0,2,0,1,0,3,0,\"   \",,,",
                              "1,0,3,0,1,0,4,0,2,,,TAG=x"}));

    TPlayPackage again;
    again.Player = &Media;
    ASSERT_TRUE(again.LoadFromFile(copy, false, mtVirtualCD));
    EXPECT_EQ(again.MainCards.Card(0).SubText, "こんにちは");
    EXPECT_EQ(again.MainCards.Card(1).MainText, "   ");
    EXPECT_EQ(again.MainCards.Card(2).MainText, "Bye");
    EXPECT_EQ(again.KhsCards.Card(1).MainText, "HELLO");
    EXPECT_EQ(again.KhsCards.Card(1).DataText, "KSD=Repeat");
    EXPECT_EQ(again.VcdCards.Card(0).DataText, "SDR=Story");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(again.MainCards.Card(i).StartPos, Package.MainCards.Card(i).StartPos);
}

TEST_F(TitleFiles, TheMakerHistoryIsArchivedPastTwentyNames)
{
    ASSERT_TRUE(Package.LoadFromFile(Write("t.qzc", {MsHeader, "VolMaker01=older", "VolSerialNum=A1"}), false, mtNone));
    std::string twenty = "u1";
    for (int i = 2; i <= 20; ++i)
        twenty += ",u" + std::to_string(i);
    const std::string twentyOne = twenty + ",u21";

    TStringList lines;
    ASSERT_TRUE(Package.BuildLines(lines, "me", "", twentyOne, "AudioCDPlay"));
    EXPECT_EQ(Package.GetSetting("VolMaker01"), "older");
    auto value = [&](const std::string& name) {
        for (const auto& line : lines.Lines())
            if (line.rfind(name + "=", 0) == 0)
                return line.substr(name.size() + 1);
        return std::string("<none>");
    };
    EXPECT_EQ(value("VolMaker02"), twentyOne);
    EXPECT_EQ(value("VolMaker"), "me");

    lines.Clear();
    Package.BuildLines(lines, "me", "", twenty, "AudioCDPlay");
    EXPECT_EQ(value("VolMaker"), twenty + ",me");
    EXPECT_EQ(value("VolMaker02"), "<none>");

    lines.Clear();
    Package.BuildLines(lines, "u20", "title user", twenty, "AudioCDPlay");
    EXPECT_EQ(value("VolMaker"), twenty);
    EXPECT_EQ(value("VolUser"), "title user");
}

TEST_F(TitleFiles, FrameCardsWriteZeroMinutesAndSeconds)
{
    TPlayCardItem card;
    card.MainText = "f";
    card.StartPos = MakePackedPosition(2, 0, 0, 1500);
    card.EndPos = MakePackedPosition(2, 0, 0, 1600);
    card.TimeFormat = otfFrames;
    Package.Settings.Add("VolSerialNum=F1");
    Package.MainCards.AddRec(card);
    TStringList lines;
    ASSERT_TRUE(Package.BuildLines(lines, "me", "", "", "AudioCDPlay"));
    EXPECT_EQ(lines[lines.Count() - 1], "2,0,0,1500,2,0,0,1600,0,,,");
}

TEST_F(TitleFiles, AcceptedConversionRewritesTheFileInMilliseconds)
{
    const std::string path = Write("cd.qzc", {"VolUser=taro", "VolSerialNum=C1", "1,0,2,30,1,0,3,0,text,,,"});
    Prompts.Answers = {true};
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD, Prompts.Consent()));
    EXPECT_EQ(Package.TimeFormat, otfTrackMilliseconds);
    // 2 seconds and 30 frames.
    EXPECT_EQ(Package.MainCards.Card(0).StartPos, MakePackedPosition(1, 0, 2, 400));
    EXPECT_EQ(Package.MainCards.Card(0).EndPos, MakePackedPosition(1, 0, 3, 0));
    const Lines written = Read(path);
    EXPECT_EQ(written.front(), "TimeFormat=TMilliseconds");
    EXPECT_NE(std::find(written.begin(), written.end(), "VolUser=taro"), written.end());
}

// Without consent nothing is converted or asked; a title of an unregistered type converts in
// memory only and says why its file stays as it was.
TEST_F(TitleFiles, ConversionNeedsConsentAndTellsWhenTheFileCannotBeRewritten)
{
    const std::string media = Write("ms.qzc", {MsHeader, "VolSerialNum=M1", "1,0,2,0,1,0,3,0,text,,,"});
    ASSERT_EQ(Package.Load(media, false, mtAudioCD).Outcome, TTitleLoad::Loaded);
    EXPECT_EQ(Package.TimeFormat, otfTrackMilliseconds);
    Prompts.Answers = {false};
    ASSERT_TRUE(Package.LoadFromFile(media, false, mtAudioCD, Prompts.Consent()));
    EXPECT_EQ(Prompts.Said, Lines{media + "\r\n\r\nこのタイトルはメディアファイル用です\r\n\r\n時間の記録方式をオーディオＣＤ用に変更しますか？"});

    const std::string odd = Write("cd.txt", {"VolSerialNum=C2", "1,0,2,30,1,0,3,0,text,,,"});
    const TTitleLoadReport report = Package.Load(odd, false, mtVirtualCD, [](const TTimeFormatChange&) { return true; });
    ASSERT_EQ(report.Outcome, TTitleLoad::Loaded);
    EXPECT_EQ(Package.TimeFormat, otfTrackMilliseconds);
    ASSERT_EQ(report.Notes.size(), 1u);
    EXPECT_EQ(BilingualText(report.Notes[0]), ".txt: ファイルタイプの登録がありません");
    EXPECT_EQ(Read(odd).front(), "VolSerialNum=C2");
}

TEST_F(TitleFiles, SavingRefusesUnknownTypesAndTitlesWithoutSerial)
{
    Package.Settings.Add("VolSerialNum=Z9");
    EXPECT_FALSE(Package.SaveToFile(Dir / "title.txt", "me", "", ""));
    EXPECT_FALSE(std::filesystem::exists(Dir / "title.txt"));
    TPlayPackage empty;
    EXPECT_FALSE(empty.SaveToFile(Dir / "title.qzc", "me", "", ""));
    EXPECT_FALSE(std::filesystem::exists(Dir / "title.qzc"));
}

// A damaged line may give the smallest integer as its media number, which has no number
// below it to be its index.
TEST_F(TitleFiles, MediaNumbersAtTheEndsOfTheIntegerRangeAskForNoRealMedia)
{
    class TAskedMedia : public TMediaTimeFormats {
    public:
        mutable std::vector<int> Asked;
        TOlveTimeFormat MediaTimeFormat(int index) const override
        {
            Asked.push_back(index);
            return otfTrackMilliseconds;
        }
    } media;
    Package.Player = &media;
    const std::string path = Write("t.qzc", {MsHeader, "VolSerialNum=A1", "-2147483648,0,1,0,-2147483648,0,2,0,low,,,",
                                             "2147483647,0,1,0,1,0,2,0,high,,,", "3,0,1,0,3,0,2,0,three,,,"});
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    EXPECT_EQ(MainTexts(), (Lines{"low", "high", "three"}));
    ASSERT_EQ(media.Asked.size(), 3u);
    EXPECT_LT(media.Asked[0], 0);
    EXPECT_EQ(media.Asked[1], 2147483646);
    EXPECT_EQ(media.Asked[2], 2);
}

// A title being saved when the program is killed is found whole afterwards: as it was
// before, or as it was being saved.
TEST_F(TitleFiles, ATitleKilledWhileSavingLoadsWhole)
{
    Lines lines = {MsHeader, "VolSerialNum=K7"};
    for (int i = 0; i < 3000; ++i)
        lines.push_back("1,0," + std::to_string(i % 60) + ",0,1,0," + std::to_string(i % 60 + 1) + ",0,\"Card " +
                        std::to_string(i) + "\",カード,,");
    const std::string path = Write("lesson.qzc", lines);
    ASSERT_TRUE(Package.LoadFromFile(path, false, mtVirtualCD));
    for (int round = 0; round < 6; ++round) {
        KillMidway([&] {
            for (int user = 0;; ++user)
                Package.SaveToFile(path, "user" + std::to_string(user), "", "");
        }, std::chrono::microseconds(4000 + round * 7000));
        TPlayPackage saved;
        saved.Player = &Media;
        ASSERT_TRUE(saved.LoadFromFile(path, false, mtVirtualCD)) << "round " << round;
        EXPECT_EQ(saved.MainCards.Count(), 3000);
        EXPECT_EQ(saved.MainCards.Card(2999).MainText, "Card 2999");
    }
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}
