#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "codec/cp932_text.h"
#include "places/title_paths.h"
#include "filetrain/train_extract.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "title/title_session.h"
#include "titlemaker/subtitle_title.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool Contains(const std::vector<std::string>& notes, const std::string& part)
{
    for (const std::string& note : notes)
        if (note.find(part) != std::string::npos)
            return true;
    return false;
}

// Installs the package into the program's folder as the player does and opens the title it wrote.
TTitleSession InstallAndOpen(const std::string& package, const std::string& program, TRecordingPrompts& prompts)
{
    TStringList written;
    EXPECT_TRUE(ExtractFileTrain(TExtractUi{}, package, program, written, 1, true));
    return OpenInstalledTitle(program, written, package, prompts.Consent());
}

class SubtitleTitles : public testing::Test {
protected:
    TTempFolder Dir;
    TRecordingPrompts Prompts;
    TSubtitleTitleRequest Request;

    void SetUp() override
    {
        ASSERT_TRUE(MakeWav(Dir / "lesson.wav", 4));
        Request.MediaPath = Dir / "lesson.wav";
        Request.MediaLengthMs = 4000;
        Request.SubtitlePath = Dir / "lesson.srt";
        Request.PackagePath = Dir / "lesson.qzw";
        std::ofstream(Request.SubtitlePath) << "1\n00:00:00,500 --> 00:00:01,500\nHello\nthere\n\n"
                                               "2\n00:00:01,500 --> 00:00:03,000\nHow are you?\n\n"
                                               "3\n00:00:05,000 --> 00:00:06,000\nToo late\n";
    }
};

}  // namespace

TEST_F(SubtitleTitles, ThePlayerFindsTheTitleItsRecordingAndItsPictures)
{
    std::ofstream(Dir / "ja.vtt") << "WEBVTT\n\n00:00.400 --> 00:01.400\nこんにちは\n\n00:01.600 --> 00:02.900\n"
                                     "お元気ですか？\n";
    fs::create_directory(Dir / "pics");
    std::ofstream(Dir / "pics/2.png") << "picture two";
    std::ofstream(Dir / "pics/9.png") << "no such cue";
    Request.TranslationPath = Dir / "ja.vtt";
    Request.PicturesFolder = Dir / "pics";
    Request.TitleName = "最初のレッスン";
    TSubtitleTitleResult result;
    std::string error;
    ASSERT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
    EXPECT_EQ(result.TitleName, "最初のレッスン");
    EXPECT_EQ(result.Cues, 2);
    EXPECT_EQ(result.Cards, 2);
    EXPECT_EQ(result.SubTexts, 2);
    EXPECT_EQ(result.Pictures, 1);
    EXPECT_TRUE(Contains(result.Notes, "cue 3 (00:00:05.000) starts after the recording ends"));
    EXPECT_TRUE(Contains(result.Notes, "9.png belongs to no cue"));
    const std::string code = result.Code;
    EXPECT_EQ(result.Entries, (std::vector<std::string>{"lesson.qzc", "titles/" + code.substr(0, 1) + "/" + code + "/pic/2.png",
                                                        "vcd/" + code + "/lesson.wav", "vcd/" + code + "/vcd.ini"}));

    // Installed into a program folder of any name, the title finds its recording.
    fs::create_directory(Dir / "any program folder");
    const std::string program = Dir / "any program folder/";
    const TTitleSession installed = InstallAndOpen(Request.PackagePath, program, Prompts);
    ASSERT_TRUE(installed.Opened()) << installed.Reason;
    const TPlayPackage& title = *installed.Package;
    EXPECT_EQ(installed.Serial, code);
    EXPECT_EQ(installed.VirtualCD, program + "vcd/" + code + "/vcd.ini");
    EXPECT_EQ(installed.MediaName, "vcd\\" + code + "\\lesson.wav");
    EXPECT_EQ(Contents(installed.MediaPath), Contents(Request.MediaPath));
    EXPECT_TRUE(Prompts.Said.empty());

    EXPECT_EQ(title.GetSetting("VolFileTitle"), Utf8ToCp932("最初のレッスン"));
    EXPECT_EQ(title.GetSetting("TimeFormat"), "TMilliseconds");
    EXPECT_EQ(title.GetSetting("STxShw"), "On");
    EXPECT_EQ(title.GetSetting("UlnShw"), "On");
    ASSERT_EQ(title.VcdCards.Count(), 1);
    EXPECT_EQ(title.VcdCards.StartUnits(0), 0);
    EXPECT_EQ(title.VcdCards.EndUnits(0), 4000);
    ASSERT_EQ(title.MainCards.Count(), 2);
    EXPECT_EQ(title.MainCards.Card(0).MainText, "Hello||there");
    EXPECT_EQ(title.MainCards.Card(0).SubText, Utf8ToCp932("こんにちは"));
    EXPECT_EQ(title.MainCards.Card(1).SubText, Utf8ToCp932("お元気ですか？"));
    EXPECT_EQ(title.MainCards.StartUnits(1), 1500);
    EXPECT_EQ(title.MainCards.EndUnits(1), 3000);
    EXPECT_EQ(title.MainCards.Card(0).Picture, "");
    EXPECT_EQ(title.MainCards.Card(1).Picture, "2.png");
    EXPECT_EQ(Contents(TitleFolder(program, code) + "pic/2.png"), "picture two");
}

TEST_F(SubtitleTitles, TheCodeTitleAndWordTimesComeFromTheRequestAndTheFile)
{
    // The first word of the first line is sung a little after the line starts; the second
    // line's first word starts with it.
    std::ofstream(Dir / "song.lrc") << "[ti:Morning Song]\n[00:01.00]<00:01.35>Sun <00:01.60>is <00:02.00>up<00:02.50>\n"
                                       "[00:03.00]日本語を <00:03.40>話します\n";
    Request.SubtitlePath = Dir / "song.lrc";
    Request.Code = "K0042";
    TSubtitleTitleResult result;
    std::string error;
    ASSERT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
    EXPECT_EQ(result.TitleName, "Morning Song");
    EXPECT_EQ(result.Code, "K0042");
    EXPECT_EQ(result.Cards, 2);

    const TTitleSession installed = InstallAndOpen(Request.PackagePath, Dir.Path().string() + "/", Prompts);
    ASSERT_TRUE(installed.Opened()) << installed.Reason;
    const TPlayPackage& title = *installed.Package;
    EXPECT_EQ(installed.Serial, "K0042");
    EXPECT_TRUE(fs::exists(installed.MediaPath));
    // Written and read back, each cue is one card whose words' times come through unchanged.
    ASSERT_EQ(title.MainCards.Count(), 2);
    EXPECT_EQ(title.MainCards.Card(0).DataText, "WTM=0:350;4:600;7:1000");
    EXPECT_EQ(title.MainCards.StartUnits(0), 1000);
    EXPECT_EQ(title.MainCards.EndUnits(0), 2500);
    EXPECT_EQ(title.MainCards.Card(1).MainText, Utf8ToCp932("日本語を 話します"));
    EXPECT_EQ(title.MainCards.Card(1).DataText, "WTM=0:0;9:400");
    EXPECT_EQ(title.MainCards.StartUnits(1), 3000);
    EXPECT_EQ(title.MainCards.EndUnits(1), 4000);
}

TEST_F(SubtitleTitles, BilingualSubtitlesGiveTheirOwnSubTexts)
{
    std::ofstream(Request.SubtitlePath) << "1\n00:00:00,500 --> 00:00:01,500\nHello\n\nこんにちは\n\n"
                                           "2\n00:00:01,500 --> 00:00:03,000\nHow are you?\n";
    TSubtitleTitleResult result;
    std::string error;
    ASSERT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
    EXPECT_EQ(result.SubTexts, 1);
    const TTitleSession installed = InstallAndOpen(Request.PackagePath, Dir.Path().string() + "/", Prompts);
    ASSERT_TRUE(installed.Opened()) << installed.Reason;
    const TPlayPackage& title = *installed.Package;
    ASSERT_EQ(title.MainCards.Count(), 2);
    EXPECT_EQ(title.MainCards.Card(0).MainText, "Hello");
    EXPECT_EQ(title.MainCards.Card(0).SubText, Utf8ToCp932("こんにちは"));
    EXPECT_EQ(title.MainCards.Card(1).SubText, "");
}

TEST_F(SubtitleTitles, NothingIsWrittenWhenNoTitleCanBeMade)
{
    TSubtitleTitleResult result;
    std::string error;
    std::ofstream(Request.SubtitlePath) << "1\n00:00:05,000 --> 00:00:06,000\nAfter the end\n";
    EXPECT_FALSE(MakeSubtitleTitle(Request, result, error));
    EXPECT_NE(error.find("no cue that can be played"), std::string::npos);
    EXPECT_TRUE(Contains(result.Notes, "starts after the recording ends"));

    std::ofstream(Request.SubtitlePath) << "1\n00:00:01,000 --> 00:00:02,000\nFine\n";
    Request.Code = "a/b";
    EXPECT_FALSE(MakeSubtitleTitle(Request, result, error));
    EXPECT_NE(error.find("cannot name a title"), std::string::npos);

    Request.Code.clear();
    Request.TranslationPath = Dir / "missing.vtt";
    EXPECT_FALSE(MakeSubtitleTitle(Request, result, error));
    EXPECT_NE(error.find("missing.vtt"), std::string::npos);

    Request.TranslationPath.clear();
    Request.MediaLengthMs = 0;
    EXPECT_FALSE(MakeSubtitleTitle(Request, result, error));
    EXPECT_FALSE(fs::exists(Request.PackagePath));
}

TEST_F(SubtitleTitles, SentenceCardsJoinSplitCuesWithTheirWordTimesAndTranslations)
{
    std::ofstream(Dir / "split.vtt") << "WEBVTT\n\n00:00.200 --> 00:01.000\nWhen Mr. Brown\n\n"
                                        "00:01.100 --> 00:02.000\n<00:00:01.100>came <00:00:01.500>home\n\n"
                                        "00:02.100 --> 00:02.900\nhe slept.\n\n00:03.000 --> 00:03.900\nGood.\n";
    std::ofstream(Dir / "split.ja.srt") << "1\n00:00:00,200 --> 00:00:01,000\nブラウンさんは\n\n"
                                           "2\n00:00:01,100 --> 00:00:02,900\n帰って寝た。\n\n"
                                           "3\n00:00:03,000 --> 00:00:03,900\nよし。\n";
    Request.SubtitlePath = Dir / "split.vtt";
    Request.TranslationPath = Dir / "split.ja.srt";
    TSubtitleTitleResult result;
    std::string error;
    ASSERT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
    EXPECT_EQ(result.Cards, 4) << "as cues unless asked";

    Request.Sentences = true;
    ASSERT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
    EXPECT_EQ(result.Cues, 4);
    EXPECT_EQ(result.Cards, 2);
    EXPECT_TRUE(Contains(result.Notes, "4 cues made 2 cards of whole sentences"));
    const TTitleSession installed = InstallAndOpen(Request.PackagePath, Dir.Path().string() + "/", Prompts);
    ASSERT_TRUE(installed.Opened()) << installed.Reason;
    const TPlayPackage& title = *installed.Package;
    ASSERT_EQ(title.MainCards.Count(), 2);
    EXPECT_EQ(title.MainCards.Card(0).MainText, "When Mr. Brown came home he slept.");
    EXPECT_EQ(title.MainCards.Card(0).SubText, Utf8ToCp932("ブラウンさんは帰って寝た。"));
    EXPECT_EQ(title.MainCards.StartUnits(0), 200);
    EXPECT_EQ(title.MainCards.EndUnits(0), 2900);
    // Times from the card's start: the first cue, "came", "home", the third cue.
    EXPECT_EQ(title.MainCards.Card(0).DataText, "WTM=0:0;15:900;20:1300;25:1900");
    EXPECT_EQ(title.MainCards.Card(1).MainText, "Good.");
    EXPECT_EQ(title.MainCards.Card(1).SubText, Utf8ToCp932("よし。"));
}
