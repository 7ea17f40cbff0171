#include "lesson/title_opening.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "codec/data_file.h"
#include "support/file_size_limit.h"
#include "support/stalled_fifo.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/test_package.h"
#include "support/wait_until.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// Answers as a learner would, and remembers what was asked.
class TAnswers : public TOpeningQuestions {
public:
    std::vector<std::string> Asked;
    bool UseBeside = true;
    std::string Recording;
    int Main = -1;
    bool Sentences = false;
    std::string Subtitles;
    std::vector<std::string> Candidates;

    bool UseRecordingBeside(const std::string& recording) override
    {
        Asked.push_back("beside " + recording);
        return UseBeside;
    }
    std::string ChooseRecording(const std::string& folder) override
    {
        Asked.push_back("recording in " + folder);
        return Recording;
    }
    int ChooseMainSubtitles(const std::vector<std::string>& subtitles) override
    {
        Asked.push_back("main of " + std::to_string(subtitles.size()));
        return Main;
    }
    int ChooseTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks) override
    {
        Asked.push_back("track of " + std::to_string(tracks.size()));
        return Main;
    }
    bool MakeSentenceCards() override
    {
        Asked.push_back("sentences");
        return Sentences;
    }
    std::string ChooseSubtitles(const std::string& folder, const std::vector<std::string>& candidates) override
    {
        Asked.push_back("subtitles in " + folder);
        Candidates = candidates;
        return Subtitles;
    }
    bool ChangeTimeFormat(const TTimeFormatChange& change) override
    {
        Asked.push_back("time format of " + change.FileName);
        return false;
    }
};

class TitleOpening : public testing::Test {
protected:
    TTempFolder Program;
    TTempFolder Home;
    TAnswers Answers;
    TTitleOpening Opening{Program.Path().string(), Answers};
    // How each material opening ended: the package, or "failed: " and the text.
    std::vector<std::string> Ends;
    int WorkStarted = 0;
    // What each title made said of its subtitles' sync.
    std::vector<std::string> Synced;

    void SetUp() override
    {
        QObject::connect(&Opening, &TTitleOpening::MaterialSynced,
                         [this](const QString& text) { Synced.push_back(text.toStdString()); });
        QObject::connect(&Opening, &TTitleOpening::MaterialReady,
                         [this](const QString& package) { Ends.push_back(package.toStdString()); });
        QObject::connect(&Opening, &TTitleOpening::MaterialFailed,
                         [this](const TOpeningFailure& failure) { Ends.push_back("failed: " + failure.Text); });
        QObject::connect(&Opening, &TTitleOpening::WorkStarted, [this] { ++WorkStarted; });
        ASSERT_TRUE(MakeWav(Home / "ep.wav", 2));
    }
    static void Subtitles(const std::string& path, const std::string& text)
    {
        std::ofstream(path) << "1\n00:00:00,200 --> 00:00:01,500\n" << text << "\n";
    }
    // Opens the material and waits for its end; the end's text.
    std::string Open(const std::vector<std::string>& paths, const std::string& openRecording = {})
    {
        const std::size_t ended = Ends.size();
        if (!Opening.OpenMaterial(paths, openRecording, Home / "data"))
            return "refused";
        if (!WaitUntil([&] { return Ends.size() > ended && !Opening.Busy(); }, 30000))
            return "still busy";
        return Ends.back();
    }
    std::string SwitchSentences(const std::string& recording)
    {
        const std::size_t ended = Ends.size();
        if (!Opening.SwitchSentenceCards(recording, Home / "data"))
            return "refused";
        if (!WaitUntil([&] { return Ends.size() > ended && !Opening.Busy(); }, 30000))
            return "still busy";
        return Ends.back();
    }
    std::string Library() { return Home / "data/olveplayer/library"; }
};

}  // namespace

TEST_F(TitleOpening, MaterialBecomesALibraryTitleOnceAndTheSameMaterialFindsItAgain)
{
    Subtitles(Home / "ep.srt", "First line.");
    const std::string package = Open({Home / "ep.wav"});
    ASSERT_EQ(package.rfind(Library(), 0), 0u) << package;
    EXPECT_TRUE(fs::is_regular_file(package));
    EXPECT_EQ(WorkStarted, 1) << "made beside the caller";
    const auto made = fs::last_write_time(package);

    EXPECT_EQ(Open({Home / "ep.wav", Home / "ep.srt"}), package);
    EXPECT_EQ(WorkStarted, 1) << "made again although nothing changed";
    EXPECT_EQ(fs::last_write_time(package), made);
    EXPECT_TRUE(Answers.Asked.empty());
    // A tone holds no speech: the times are kept, and the learner is told so, in both languages.
    ASSERT_EQ(Synced.size(), 1u) << "told once, when the title was made";
    EXPECT_NE(Synced[0].find("字幕は書かれたままです"), std::string::npos) << Synced[0];
    EXPECT_NE(Synced[0].find("\nsubtitles kept as written"), std::string::npos) << Synced[0];

}

TEST_F(TitleOpening, TheTitleJustMadeOpensWithoutUnpackingAndLaterAsAnyPackage)
{
    Subtitles(Home / "ep.srt", "First line.");
    const std::string package = Open({Home / "ep.wav"});
    ASSERT_TRUE(Opening.HasMadeTitle()) << package;
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "First line.");
    EXPECT_EQ(opened.Session->MediaPath, fs::canonical(Home / "ep.wav").string()) << "the recording stays where it is";
    EXPECT_TRUE(Opening.InstalledFiles().empty()) << "the package was unpacked";
    EXPECT_FALSE(fs::exists(Program.Path() / "vcd"));

    // Opened again, it is installed below the program's folder.
    opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "First line.");
    EXPECT_FALSE(Opening.InstalledFiles().empty());
}

TEST_F(TitleOpening, SubtitlesAloneGoWithTheOpenRecordingOrTheOneTheLearnerAccepts)
{
    fs::create_directory(Home / "fixes");
    Subtitles(Home / "fixes/new.srt", "Fixed line.");
    const std::string made = Open({Home / "fixes/new.srt"}, Home / "ep.wav");
    EXPECT_EQ(made.rfind(Library(), 0), 0u) << made;
    EXPECT_TRUE(Answers.Asked.empty()) << "the open title's recording is not asked about";

    // Nothing beside them and nothing chosen: the learner cancelled, and nothing is told.
    EXPECT_EQ(Open({Home / "fixes/new.srt"}), "failed: ");
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"recording in " + Home / "fixes"});

    // Japanese alone make no title: the one made before from the recording opens.
    Subtitles(Home / "ep.ja.srt", "日本語");
    Answers.Asked.clear();
    Answers.UseBeside = false;
    Answers.Recording = Home / "ep.wav";
    EXPECT_EQ(Open({Home / "ep.ja.srt"}), made);
    EXPECT_EQ(Answers.Asked, (std::vector<std::string>{"beside " + Home / "ep.wav", "recording in " + Home.Path().string()}));
}

TEST_F(TitleOpening, SubtitlesInOtherLanguagesAloneAreChosenByTheLearner)
{
    Subtitles(Home / "ep.fr.srt", "Ligne.");
    Subtitles(Home / "ep.de.srt", "Zeile.");
    EXPECT_EQ(Open({Home / "ep.wav"}).rfind("failed: 英語の字幕が見つかりません", 0), 0u);
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"main of 2"});

    Answers.Main = 0;
    const std::string package = Open({Home / "ep.wav"});
    ASSERT_EQ(package.rfind(Library(), 0), 0u) << package;
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "Zeile.") << "the first in name order";
}

TEST_F(TitleOpening, WithoutSubtitlesBesideItTheRecordingOffersItsFoldersMostLikeItsName)
{
    Subtitles(Home / "episode one.srt", "Other line.");
    Subtitles(Home / "EP (fixed).srt", "Fixed line.");
    EXPECT_EQ(Open({Home / "ep.wav"}).rfind("failed: 英語の字幕が見つかりません", 0), 0u) << "cancelled: the reason as before";
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"subtitles in " + Home.Path().string()});
    EXPECT_EQ(Answers.Candidates, (std::vector<std::string>{Home / "EP (fixed).srt", Home / "episode one.srt"}));

    Answers.Subtitles = Home / "EP (fixed).srt";
    const std::string package = Open({Home / "ep.wav"});
    ASSERT_EQ(package.rfind(Library(), 0), 0u) << package;
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "Fixed line.");
}

TEST_F(TitleOpening, SubtitlesThatSplitSentencesAskOnceForSentenceCards)
{
    const auto write = [&](const std::string& last) {
        std::ofstream(Home / "ep.srt") << "1\n00:00:00,100 --> 00:00:00,600\nWhen we\n\n"
                                          "2\n00:00:00,700 --> 00:00:01,200\ncame home\n\n"
                                          "3\n00:00:01,300 --> 00:00:01,800\n" << last << "\n";
    };
    write("it rained.");
    Answers.Sentences = true;
    const std::string package = Open({Home / "ep.wav"});
    ASSERT_EQ(package.rfind(Library(), 0), 0u) << package;
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"sentences"});
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    ASSERT_EQ(opened.Session->Package->MainCards.Count(), 1);
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "When we came home it rained.");

    // Changed subtitles make the title again by the answer kept, without asking.
    Answers.Sentences = false;
    write("it snowed hard.");
    EXPECT_EQ(Open({Home / "ep.wav"}), package);
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"sentences"});
    opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    ASSERT_EQ(opened.Session->Package->MainCards.Count(), 1);
    EXPECT_EQ(opened.Session->Package->MainCards.Card(0).MainText, "When we came home it snowed hard.");

    // The learner switches back to the lines as they are, and the switch is kept.
    EXPECT_EQ(SwitchSentences(Home / "ep.wav"), package);
    EXPECT_EQ(Answers.Asked, std::vector<std::string>{"sentences"}) << "a switch asks nothing";
    opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Count(), 3);
    EXPECT_EQ(Open({Home / "ep.wav"}), package);
    opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->Package->MainCards.Count(), 3) << "the switched choice stands";

    const std::string other = SwitchSentences(Home / "other.wav");
    EXPECT_EQ(other.rfind("failed: ", 0), 0u) << other;
    EXPECT_NE(other.find("one card per sentence"), std::string::npos) << other;
}

TEST_F(TitleOpening, OneMaterialAtATimeAndTerminatingEndsAStalledReadPromptly)
{
    const std::string film = Home / "film.mkv";
    TStalledFifo stalled(film, "\x1a\x45\xdf\xa3");
    ASSERT_TRUE(stalled.Ready());
    ASSERT_TRUE(Opening.OpenMaterial({film}, {}, Home / "data"));
    EXPECT_TRUE(Opening.Busy());
    EXPECT_FALSE(Opening.OpenMaterial({Home / "ep.wav"}, {}, Home / "data")) << "a second run beside the first";

    QElapsedTimer ending;
    ending.start();
    Opening.Terminate();
    ASSERT_TRUE(WaitUntil([&] { return !Opening.Busy(); }, 5000));
    EXPECT_LT(ending.elapsed(), 2000);
    EXPECT_EQ(Ends, std::vector<std::string>{"failed: "}) << "nothing to tell while closing";
    EXPECT_FALSE(Opening.OpenMaterial({Home / "ep.wav"}, {}, Home / "data")) << "nothing opens after terminating";
}

// Aligning a long recording with its transcript can be cancelled: it stops at once, with
// nothing to tell and no title made.
TEST_F(TitleOpening, CancellingTheAlignmentOfATranscriptStopsItPromptly)
{
    // A tone that swells and fades every two seconds: stretches that the recognizer must hear.
    const std::string book = Home / "book.wav";
    ASSERT_EQ(std::system(("sox -n -r 16000 -c 1 -b 16 " + book + " synth 900 sine 300 tremolo 0.5 100").c_str()), 0);
    std::ofstream(Home / "book.txt") << "The first sentence of the book. And the second one.\n";
    bool cancellable = false;
    QObject::connect(&Opening, &TTitleOpening::WorkStarted,
                     [&](const QString&, bool canCancel) { cancellable = canCancel; });
    ASSERT_TRUE(Opening.OpenMaterial({Home / "book.wav", Home / "book.txt"}, {}, Home / "data"));
    ASSERT_TRUE(WaitUntil([&] { return WorkStarted > 0; }, 10000));
    EXPECT_TRUE(cancellable);
    QElapsedTimer ending;
    ending.start();
    Opening.Cancel();
    // Aligning it all takes half a minute and more; a cancelled one ends within the stretch
    // under way (seconds on a slow or instrumented build).
    ASSERT_TRUE(WaitUntil([&] { return !Opening.Busy(); }, 15000));
    EXPECT_LT(ending.elapsed(), 8000);
    EXPECT_EQ(Ends, std::vector<std::string>{"failed: "});
    EXPECT_FALSE(fs::exists(Library()) && !fs::is_empty(Library()));
}

// Syncing the subtitles of a long recording reads all of its sound: it can be cancelled too.
TEST_F(TitleOpening, CancellingTheSyncOfSubtitlesStopsItPromptly)
{
    // Twenty minutes of a tone that swells and fades.
    const std::string film = Home / "film.wav";
    ASSERT_EQ(std::system(("sox -n -r 16000 -c 1 -b 16 " + Home / "swell.wav" + " synth 10 sine 300 tremolo 0.5 100 && sox " +
                           Home / "swell.wav" + " " + film + " repeat 119")
                              .c_str()),
              0);
    Subtitles(Home / "film.srt", "A line of the film.");
    bool cancellable = false;
    QObject::connect(&Opening, &TTitleOpening::WorkStarted,
                     [&](const QString&, bool canCancel) { cancellable = canCancel; });
    ASSERT_TRUE(Opening.OpenMaterial({film}, {}, Home / "data"));
    ASSERT_TRUE(WaitUntil([&] { return WorkStarted > 0; }, 10000));
    EXPECT_TRUE(cancellable);
    QElapsedTimer ending;
    ending.start();
    Opening.Cancel();
    ASSERT_TRUE(WaitUntil([&] { return !Opening.Busy(); }, 30000));
    EXPECT_LT(ending.elapsed(), 5000);
    EXPECT_EQ(Ends, std::vector<std::string>{"failed: "});
    EXPECT_TRUE(Synced.empty());
    EXPECT_FALSE(fs::exists(Library()) && !fs::is_empty(Library()));
}

TEST_F(TitleOpening, AMissingOrBrokenPackageSaysWhy)
{
    TOpenedTitle opened = Opening.InstallAndOpen(Home / "gone.qzw", {}, nullptr);
    EXPECT_FALSE(opened.Session);
    EXPECT_EQ(opened.Failure.Text, "ファイルが見つかりません\r\n\r\nfile not exist\r\n\r\n< " + Home / "gone.qzw" + " >");
    EXPECT_EQ(opened.Failure.Subject, Home / "gone.qzw");

    std::ofstream(Home / "junk.qzw") << "not a package";
    opened = Opening.InstallAndOpen(Home / "junk.qzw", {}, nullptr);
    EXPECT_FALSE(opened.Session);
    EXPECT_EQ(opened.Failure.Text,
              Home / "junk.qzw" + "\r\n\r\nのインストールに失敗しました\r\n\r\ninstalling the package failed");
    EXPECT_TRUE(Opening.InstalledFiles().empty());
}

// Removal follows the list of what was installed, never a link that leads out of the program's
// folder since.
TEST_F(TitleOpening, RemovingInstalledFilesStaysInsideTheProgramFolder)
{
    TOpenedTitle opened = Opening.InstallAndOpen(MakeTestPackage(Home.Path().string(), ThreeCardTitle()), {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    ASSERT_FALSE(Opening.InstalledFiles().empty());
    const fs::path vcd = Program.Path() / "vcd/K100";
    ASSERT_TRUE(fs::is_regular_file(vcd / "tone.wav"));

    // The folder becomes a link to the user's own files of the same names.
    const fs::path own = Home.Path() / "own";
    fs::rename(vcd, own);
    fs::create_directory_symlink(own, vcd);
    Opening.RemoveInstalledFiles();
    EXPECT_TRUE(fs::is_regular_file(own / "tone.wav")) << "a file outside the program's folder was removed";
    EXPECT_TRUE(fs::is_regular_file(own / "vcd.ini"));
    EXPECT_FALSE(fs::exists(Program.Path() / "lesson.qzc")) << "the title itself stays";
    EXPECT_TRUE(fs::exists(Program.Path())) << "the program's folder went";
    EXPECT_TRUE(Opening.InstalledFiles().empty());
}

// Each package replaces the files the one before installed. Files that were there before it
// stay: the settings file and the package itself are never written, and the learner's own
// files, which an installation overwrites, are not removed with it.
TEST_F(TitleOpening, APackageReplacesTheFilesOfTheOneBeforeAndNoneOfTheLearners)
{
    const auto installed = [&](const std::string& relative) { return fs::exists(Program.Path() / relative); };
    const auto text = [&](const std::string& relative) {
        std::ifstream in(Program.Path() / relative);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    fs::create_directories(Program.Path() / "titles/K/K100/notes");
    std::ofstream(Program / "titles/K/K100/notes/mine.txt") << "mine";
    std::ofstream(Program / "olveplayer.dat") << "settings";
    TTestTitle first = ThreeCardTitle();
    first.ExtraFiles = {"titles/K/K100/notes/a.txt", "titles/K/K100/notes/mine.txt", "olveplayer.dat", "K100.qzw"};
    // In the program's folder, holding an entry of its own name.
    const std::string package = MakeTestPackage(Program.Path().string(), first);
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_TRUE(installed("titles/K/K100/notes/a.txt"));
    EXPECT_TRUE(installed("vcd/K100/tone.wav"));
    EXPECT_EQ(text("olveplayer.dat"), "settings");
    ASSERT_EQ(opened.Problems.size(), 1u);
    EXPECT_EQ(BilingualText(opened.Problems[0]).rfind("インストール先の外を指す名前のファイルは書き込みませんでした (2)", 0), 0u)
        << "the settings file and the package itself";

    TTestTitle second = ThreeCardTitle();
    second.Serial = "7B";
    opened = Opening.InstallAndOpen(MakeTestPackage(Home.Path().string(), second), {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_FALSE(installed("titles/K/K100/notes/a.txt"));
    EXPECT_FALSE(installed("vcd/K100"));
    EXPECT_TRUE(installed("vcd/7B/tone.wav"));
    EXPECT_TRUE(installed("titles/7B/pic/p1.png"));
    EXPECT_EQ(opened.Session->TitleFolder, Program / "titles/7B/");

    Opening.RemoveInstalledFiles();
    EXPECT_FALSE(installed("vcd/7B"));
    EXPECT_FALSE(installed("lesson.qzc"));
    EXPECT_TRUE(installed("titles/K/K100/notes/mine.txt")) << "replaced, but not the package's own";
    EXPECT_EQ(text("olveplayer.dat"), "settings");
    EXPECT_GT(fs::file_size(package), 100u);
}

// A title whose recording cannot be found says what it was looked for by.
TEST_F(TitleOpening, AMissingRecordingIsToldWithWhatItWasLookedForBy)
{
    TTestTitle title = ThreeCardTitle();
    title.WithVirtualCD = false;
    const std::string package = MakeTestPackage(Home.Path().string(), title);
    TOpenedTitle opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session);
    EXPECT_FALSE(opened.Session->Opened());
    EXPECT_EQ(opened.Failure.Text, "VolSerialNum=K100 の vcd.ini が見つかりません\r\n\r\nno vcd.ini for VolSerialNum=K100 "
                                   "in\r\n\r\n< " + Program / "vcd/" + " >");

    fs::create_directories(Program.Path() / "vcd/K100");
    TDataFile ini(Program / "vcd/K100/vcd.ini");
    for (const char* line : {"code=K100", "[files]", "file=vcd\\K100\\tone.wav"})
        ini.Add(line);
    ini.Close();
    opened = Opening.InstallAndOpen(package, {}, nullptr);
    ASSERT_TRUE(opened.Session);
    EXPECT_FALSE(opened.Session->Opened());
    EXPECT_EQ(opened.Failure.Text, "ファイルが見つかりません\r\n\r\nfile not exist\r\n\r\n< " + Program / "vcd/K100/tone.wav" + " >");
}

// Folders packed in capitals go into the folders of small letters that are there, as a file
// system that ignores letter case would put them, and the title still finds its recording.
TEST_F(TitleOpening, FoldersPackedInOtherLetterCaseGoWhereTheFoldersAre)
{
    fs::create_directories(Program.Path() / "vcd");
    TTestTitle title = ThreeCardTitle();
    title.CapitalFolders = true;
    TOpenedTitle opened = Opening.InstallAndOpen(MakeTestPackage(Home.Path().string(), title), {}, nullptr);
    ASSERT_TRUE(opened.Session && opened.Session->Opened()) << opened.Failure.Text;
    EXPECT_EQ(opened.Session->MediaPath, Program / "vcd/K100/tone.wav");
    EXPECT_TRUE(fs::is_regular_file(Program / "vcd/K100/tone.wav"));
    EXPECT_FALSE(fs::exists(Program / "VCD"));
    EXPECT_EQ(opened.Session->TitleFolder, Program / "titles/K/K100/") << "pictures are looked for in any letter case";
    EXPECT_TRUE(fs::is_regular_file(Program / "TITLES/K/K100/PIC/p2.png"));
}

// A write that fails midway, as on a nearly full disk, is told with its reason and leaves the
// files an earlier installation wrote as they were, to be removed with the rest.
TEST_F(TitleOpening, AFailedWriteIsToldAndLeavesWhatWasInstalledBefore)
{
    const std::string package = MakeTestPackage(Home.Path().string(), ThreeCardTitle());
    ASSERT_TRUE(Opening.InstallAndOpen(package, {}, nullptr).Session);
    const std::string recording = Program / "vcd/K100/tone.wav";
    const auto size = fs::file_size(recording);
    TOpenedTitle opened;
    {
        TFileSizeLimit limit(4096);
        opened = Opening.InstallAndOpen(package, {}, nullptr);
    }
    EXPECT_EQ(fs::file_size(recording), size);
    ASSERT_FALSE(opened.Problems.empty());
    const std::string told = BilingualText(opened.Problems[0]);
    EXPECT_EQ(told.rfind("ファイルの書き込みに失敗しました", 0), 0u) << told;
    EXPECT_NE(told.find(recording + ": " + std::strerror(EFBIG)), std::string::npos) << told;
    Opening.RemoveInstalledFiles();
    EXPECT_FALSE(fs::exists(Program / "vcd/K100"));
}

namespace {

// What an installation shows, as the caller's thread sees it while its event loop runs.
class TLoopFeedback : public TExtractFeedback {
public:
    bool OffThread = false;
    int Busy = 0;
    int Shown = 0;
    std::atomic<int> Steps = 0;
    int Hidden = 0;
    int Maximum = 0;
    // Ticks of the caller's timer while the progress was shown.
    std::atomic<int> TicksShown = 0;
    std::function<void()> OnStep;
    // Asked this many times on the installing thread, the installation waits until HoldUntil
    // holds (for ten seconds at most): the caller acts before the copy can end.
    int HoldAt = 0;
    std::function<bool()> HoldUntil;

    void BeginBusy() override { Note(), ++Busy; }
    void EndBusy() override { Note(), --Busy; }
    void ProcessMessages() override {}
    void ShowProgress(const std::string&, int maximum) override { Note(), ++Shown, Maximum = maximum; }
    bool Cancelled() const override
    {
        if (++FAsked == HoldAt)
            for (int waited = 0; !HoldUntil() && waited < 10000; ++waited)
                QThread::msleep(1);
        return false;
    }
    void StepProgress() override
    {
        Note(), ++Steps;
        if (OnStep)
            OnStep();
    }
    void HideProgress() override { Note(), ++Hidden; }
    void Tick()
    {
        if (Shown > Hidden)
            ++TicksShown;
    }

private:
    void Note() { OffThread |= QThread::currentThread() != QCoreApplication::instance()->thread(); }

    mutable std::atomic<int> FAsked = 0;
};

// A title whose recording is copied in a few hundred chunks.
TTestTitle LargeTitle()
{
    TTestTitle title = ThreeCardTitle();
    title.MediaSeconds = 240;
    return title;
}

}  // namespace

TEST_F(TitleOpening, AnInstallationRunsOnItsOwnThreadWhileTheCallersEventLoopGoesOn)
{
    const std::string package = MakeTestPackage(Home.Path().string(), LargeTitle());
    TLoopFeedback feedback;
    feedback.HoldAt = 20;
    feedback.HoldUntil = [&] { return feedback.TicksShown > 0; };
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { feedback.Tick(); });
    ticking.start(0);
    std::optional<TOpenedTitle> opened;
    ASSERT_TRUE(Opening.StartInstall(package, {&feedback, nullptr}, nullptr,
                                     [&](TOpenedTitle title) { opened = std::move(title); }));
    EXPECT_FALSE(opened) << "the caller waited for the installation";
    EXPECT_TRUE(Opening.Installing());
    EXPECT_FALSE(Opening.StartInstall(package, {}, nullptr, [](TOpenedTitle) { ADD_FAILURE() << "two at once"; }));
    ASSERT_TRUE(WaitUntil([&] { return opened.has_value(); }, 30000));
    ASSERT_TRUE(opened->Session && opened->Session->Opened()) << opened->Failure.Text;
    EXPECT_EQ(opened->Session->Package->MainCards.Count(), 3);
    EXPECT_FALSE(Opening.Installing());
    EXPECT_FALSE(feedback.OffThread);
    EXPECT_EQ(feedback.Busy, 0);
    EXPECT_EQ(feedback.Shown, 1);
    EXPECT_EQ(feedback.Hidden, 1);
    EXPECT_GE(feedback.Steps.load(), feedback.Maximum - 1);
    EXPECT_GT(feedback.TicksShown.load(), 0) << "the caller's timers waited for the copy";
    EXPECT_TRUE(fs::exists(Program / "vcd/K100/tone.wav"));
    EXPECT_FALSE(Opening.InstalledFiles().empty());
}

// The program ends while a large recording is copied: the copy stops at its next chunk, no
// title opens and nothing is told, and what was written is still removed with the rest.
TEST_F(TitleOpening, TerminatingStopsAnInstallationAtItsNextChunkAndKeepsWhatItWroteForRemoval)
{
    const std::string package = MakeTestPackage(Home.Path().string(), LargeTitle());
    TLoopFeedback feedback;
    feedback.OnStep = [&] { Opening.Terminate(); };
    feedback.HoldAt = 20;
    feedback.HoldUntil = [&] { return feedback.Steps > 0; };
    std::optional<TOpenedTitle> opened;
    ASSERT_TRUE(Opening.StartInstall(package, {&feedback, nullptr}, nullptr,
                                     [&](TOpenedTitle title) { opened = std::move(title); }));
    ASSERT_TRUE(WaitUntil([&] { return opened.has_value(); }, 30000));
    EXPECT_FALSE(opened->Session);
    EXPECT_FALSE(opened->Failure.Told()) << opened->Failure.Text;
    EXPECT_LT(feedback.Steps.load(), feedback.Maximum / 2) << "the copy went on";
    EXPECT_EQ(feedback.Busy, 0);
    EXPECT_EQ(feedback.Hidden, feedback.Shown);
    EXPECT_TRUE(fs::exists(Program / "lesson.qzc"));
    EXPECT_FALSE(fs::exists(Program / "vcd/K100/tone.wav")) << "the recording was finished";
    EXPECT_FALSE(Opening.StartInstall(package, {}, nullptr, [](TOpenedTitle) {}));
    Opening.RemoveInstalledFiles();
    EXPECT_FALSE(fs::exists(Program / "lesson.qzc"));
    EXPECT_FALSE(fs::exists(Program / "vcd"));
}
