#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codec/compress_string_list.h"
#include "codec/cp932_text.h"
#include "places/recording_identity.h"
#include "filetrain/train_extract.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_package.h"
#include "timing/positions.h"
#include "title/card_text_bound.h"
#include "title/title_session.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

class TitleSession : public testing::Test {
protected:
    TTempFolder Packages;
    TTempFolder Program;
    TRecordingPrompts Prompts;
    TStringList Written;
    std::string PackagePath;

    // Installs the package into the program folder as the player does, then opens what that wrote.
    TTitleSession Install(const TTestTitle& title)
    {
        PackagePath = MakeTestPackage(Packages.Path().string(), title);
        EXPECT_TRUE(ExtractFileTrain(TExtractUi{}, PackagePath, Program.Path().string(), Written, 1, true));
        return Open();
    }
    TTitleSession Open() { return OpenInstalledTitle(Program.Path().string(), Written, PackagePath, Prompts.Consent()); }

    void WriteTitleFile(const std::vector<std::string>& lines)
    {
        TCompressStringList title;
        for (const std::string& line : lines)
            title.Add(line);
        ASSERT_EQ(title.SaveToFile(Program / "lesson.qzc"), 0);
    }
};

TTestTitle PlainTitle()
{
    TTestTitle title = ThreeCardTitle();
    title.Pictures.clear();
    return title;
}

}  // namespace

TEST_F(TitleSession, OpensWhatTheInstallationWroteWithItsSettings)
{
    TTestTitle title = PlainTitle();
    title.Name = "最初のレッスン";
    title.Settings = {"MonSty=msList", "ImgAln=alBottom", "CsrShw=Off", "MTxShw=Off", "STxShw=Off", "MTxInd=itOlve"};
    const TTitleSession session = Install(title);
    ASSERT_TRUE(session.Opened()) << session.Reason;
    EXPECT_EQ(session.Reason, "");
    EXPECT_EQ(session.TitleFile, Program / "lesson.qzc");
    EXPECT_EQ(session.Serial, "K100");
    EXPECT_EQ(session.TitleName, "最初のレッスン");
    EXPECT_EQ(session.VirtualCD, Program / "vcd/K100/vcd.ini");
    EXPECT_EQ(session.MediaName, "vcd\\K100\\tone.wav");
    EXPECT_EQ(session.MediaPath, Program / "vcd/K100/tone.wav");
    EXPECT_EQ(session.TitleFolder, Program / "titles/K/K100/");
    ASSERT_TRUE(session.Package);
    EXPECT_EQ(session.Package->TimeFormat, otfTrackMilliseconds);
    ASSERT_EQ(session.Package->MainCards.Count(), 3);
    EXPECT_EQ(session.Package->MainCards.Card(1).MainText, "How are you today?");
    EXPECT_EQ(session.Package->MainCards.EndUnits(2), 3200);

    EXPECT_TRUE(session.Display.StandardIndent);
    EXPECT_FALSE(session.Display.ShowCursor);
    EXPECT_TRUE(session.Display.ShowUnderline);
    EXPECT_FALSE(session.Display.ShowTextPane);
    EXPECT_TRUE(session.Display.ListStyle);
    EXPECT_TRUE(session.Display.PictureAcross);
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

TEST_F(TitleSession, ATitleBelowAHeaderFolderOfAnotherLetterCaseFindsItsRecording)
{
    // The title and "vcd.ini" say "vcd\K100\tone.wav".
    TTestTitle title = PlainTitle();
    title.Name = "";
    title.VirtualCDHeader = "VCD/K100";
    const TTitleSession session = Install(title);
    ASSERT_TRUE(session.Opened()) << session.Reason;
    EXPECT_EQ(session.TitleFile, Program / "VCD/K100/lesson.qzc");
    EXPECT_EQ(session.VirtualCD, Program / "VCD/K100/vcd.ini");
    EXPECT_EQ(session.MediaPath, Program / "VCD/K100/tone.wav");
    EXPECT_EQ(session.TitleName, "lesson");
    EXPECT_FALSE(session.Display.ListStyle);
    EXPECT_TRUE(session.Display.ShowTextPane);
}

TEST_F(TitleSession, ATitleFileThatIsMissingUnreadableOrWithoutSerialIsNamed)
{
    TStringList noTitle;
    noTitle.Add(Program / "vcd/K100/tone.wav");
    TTitleSession session = OpenInstalledTitle(Program.Path().string(), noTitle, "/packages/p.qzw", Prompts.Consent());
    EXPECT_EQ(session.Failure, TTitleFailure::NoTitleFile);
    EXPECT_EQ(session.Reason, "パッケージにタイトルファイル (.qzc) がありません\r\n\r\nno title file (.qzc) in the package"
                              "\r\n\r\n< /packages/p.qzw >");

    ASSERT_TRUE(Install(PlainTitle()).Opened());
    const std::string file = Program / "lesson.qzc";
    std::ofstream(file, std::ios::trunc) << "VolSerialNum=K100\r\n";
    session = Open();
    EXPECT_EQ(session.Failure, TTitleFailure::TitleNotLoaded);
    EXPECT_EQ(session.Reason, "タイトルファイルが読めません (BDC 形式ではありません)\r\n\r\ntitle file is not BDC data\r\n\r\n< " +
                                  file + " >");

    for (const std::vector<std::string>& lines : {std::vector<std::string>{"VolFileTitle=x", "TimeFormat=TMilliseconds"},
                                                  std::vector<std::string>{"TimeFormat=TMilliseconds", "VolSerialNum="}}) {
        WriteTitleFile(lines);
        session = Open();
        EXPECT_EQ(session.Failure, TTitleFailure::NoSerial) << lines[1];
        EXPECT_EQ(session.Reason,
                  "タイトルファイルに VolSerialNum がありません\r\n\r\nno VolSerialNum in the title file\r\n\r\n< " + file + " >");
    }
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

// The question is the caller's to ask; the title is rewritten only when the answer is yes.
TEST_F(TitleSession, ATitleOfAudioCDTimesIsConvertedOnlyWithConsent)
{
    ASSERT_TRUE(Install(PlainTitle()).Opened());
    WriteTitleFile({"VolSerialNum=K100", "1,0,2,30,1,0,3,0,text,,,"});
    const std::string file = Program / "lesson.qzc";
    const std::string question =
        file + "\r\n\r\nこのタイトルはオーディオＣＤ用です\r\n\r\n時間の記録方式をメディアファイル用に変更しますか？";

    Prompts.Answers = {false};
    ASSERT_TRUE(Open().Opened());
    EXPECT_EQ(Prompts.Said, std::vector<std::string>{question});
    TCompressStringList kept;
    ASSERT_FALSE(kept.LoadFromFile(file));
    EXPECT_EQ(kept.Lines().front(), "VolSerialNum=K100");

    Prompts.Answers = {true};
    const TTitleSession converted = Open();
    ASSERT_TRUE(converted.Opened());
    EXPECT_EQ(Prompts.Said, (std::vector<std::string>{question, question}));
    EXPECT_EQ(converted.Package->MainCards.Card(0).StartPos, MakePackedPosition(1, 0, 2, 400));
    TCompressStringList rewritten;
    ASSERT_FALSE(rewritten.LoadFromFile(file));
    EXPECT_EQ(rewritten.Lines().front(), "TimeFormat=TMilliseconds");
}

TEST_F(TitleSession, AMissingVirtualCDOrRecordingIsNamed)
{
    TTestTitle title = PlainTitle();
    title.WithVirtualCD = false;
    TTitleSession session = Install(title);
    EXPECT_EQ(session.Failure, TTitleFailure::NoVirtualCD);
    EXPECT_EQ(session.Reason, "VolSerialNum=K100 の vcd.ini が見つかりません\r\n\r\nno vcd.ini for VolSerialNum=K100 in\r\n\r\n< " +
                                  Program / "vcd/" + " >");

    Written.Clear();
    session = Install(PlainTitle());
    ASSERT_TRUE(session.Opened()) << session.Reason;
    fs::remove(Program / "vcd/K100/tone.wav");
    session = Open();
    EXPECT_EQ(session.Failure, TTitleFailure::NoRecording);
    EXPECT_EQ(session.Reason, "ファイルが見つかりません\r\n\r\nfile not exist\r\n\r\n< " + Program / "vcd/K100/tone.wav" + " >");

    std::ofstream(Program / "vcd/K100/tone.wav") << "back";
    {
        TCompressStringList ini;
        ini.Add("code=K100");
        ini.Add("[files]");
        ASSERT_EQ(ini.SaveToFile(Program / "vcd/K100/vcd.ini"), 0);
    }
    session = Open();
    EXPECT_EQ(session.Failure, TTitleFailure::NoVirtualCD);
    EXPECT_EQ(session.Reason, "vcd.ini の files に録音ファイルがありません\r\n\r\nno recording in the files section of\r\n\r\n< " +
                                  Program / "vcd/K100/vcd.ini" + " >");
}

TEST_F(TitleSession, ATitleOfARecordingWhereTheLearnerKeepsItSaysWhenItMovedOrWasReplaced)
{
    ASSERT_TRUE(Install(PlainTitle()).Opened());
    TTempFolder films;
    const std::string film = films / "caf\xC3\xA9 ep12.ogg";
    std::ofstream(film) << "the learner's recording";
    TRecordingIdentity identity;
    std::string error;
    ASSERT_TRUE(IdentifyRecording(film, identity, error)) << error;
    {
        TCompressStringList ini;
        for (const char* line : {"code=K100", "[files]", "file=elsewhere.ogg", "[recording]"})
            ini.Add(line);
        for (const std::string& line : RecordingIdentityLines(identity))
            ini.Add(line);
        ASSERT_EQ(ini.SaveToFile(Program / "vcd/K100/vcd.ini"), 0);
    }
    TTitleSession session = Open();
    ASSERT_TRUE(session.Opened()) << session.Reason;
    EXPECT_EQ(session.MediaPath, identity.Path) << "a name code page 932 lacks is found all the same";

    std::ofstream(film, std::ios::trunc) << "another recording, same name";
    session = Open();
    EXPECT_EQ(session.Failure, TTitleFailure::RecordingReplaced);
    EXPECT_EQ(session.Reason.rfind("この場所の録音は、タイトルを作ったときのものと違います", 0), 0u) << session.Reason;
    EXPECT_NE(session.Reason.find("is not the one this title was made from"), std::string::npos) << session.Reason;

    fs::remove(film);
    session = Open();
    EXPECT_EQ(session.Failure, TTitleFailure::RecordingMoved);
    EXPECT_NE(session.Reason.find("元の場所にありません"), std::string::npos) << session.Reason;
    EXPECT_NE(session.Reason.find("no longer where it was (moved or deleted)"), std::string::npos) << session.Reason;
    EXPECT_NE(session.Reason.find(identity.Path), std::string::npos) << session.Reason;
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

TEST(DisplayMode, FollowsTheMediaThePicturesAndTheListAndAlignSettings)
{
    struct TCase {
        bool Video, Pictures, List, Across;
        TDisplayMode Mode;
        int Value;
    };
    const TCase cases[] = {
        {true, true, false, true, TDisplayMode::Subtitles, 2},    {true, false, true, false, TDisplayMode::ListPic, 5},
        {false, true, true, true, TDisplayMode::ListPic, 5},      {false, true, false, true, TDisplayMode::PictureCard, 3},
        {false, true, false, false, TDisplayMode::PictureBook, 1}, {false, false, true, true, TDisplayMode::List, 4},
        {false, false, false, true, TDisplayMode::System, 0},
    };
    for (const TCase& c : cases) {
        TTitleDisplay display;
        display.ListStyle = c.List;
        display.PictureAcross = c.Across;
        const TDisplayMode mode = ChooseDisplayMode(c.Video, c.Pictures, display);
        EXPECT_EQ(mode, c.Mode) << c.Video << c.Pictures << c.List << c.Across;
        EXPECT_EQ(static_cast<int>(mode), c.Value);
    }
}

// A card line of megabytes without a space froze the window laying it out: what is shown of one
// card is cut between two characters, with a note that says so.
TEST_F(TitleSession, CardTextsBeyondTheShownBoundAreCutBetweenCharactersWithANote)
{
    TTestTitle title = PlainTitle();
    title.Cards[0].Main = std::string(3'000'000, 'x');
    title.Cards[1].Sub.clear();
    for (int i = 0; i < 1'000'000; ++i)
        title.Cards[1].Sub += "あ";
    const TTitleSession session = Install(title);
    ASSERT_TRUE(session.Opened()) << session.Reason;
    const std::string note = Utf8ToCp932(" … (以下省略 text cut)");
    const TPlayCardList& cards = session.Package->MainCards;
    for (const std::string& text : {cards.Card(0).MainText, cards.Card(1).SubText}) {
        EXPECT_LE(text.size(), CardTextBoundBytes);
        EXPECT_GE(text.size(), CardTextBoundBytes - 1);
        ASSERT_TRUE(text.ends_with(note));
    }
    const std::string sub = Cp932ToUtf8(cards.Card(1).SubText.substr(0, cards.Card(1).SubText.size() - note.size()));
    EXPECT_EQ(sub.find_first_not_of("あ"), std::string::npos) << sub.substr(sub.size() - 6);
    EXPECT_EQ(cards.Card(1).MainText, "How are you today?");
    EXPECT_EQ(BoundCardText("a short line||"), "a short line||");
}
