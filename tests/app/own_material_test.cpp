#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "app/open_and_wait.h"
#include "app/start_page.h"
#include "lesson/series_play.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/test_package.h"
#include "support/wait_until.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// A learner's recordings in folders of their own, and a library in a data folder of the test's.
class OwnMaterial : public testing::Test {
protected:
    TTempFolder Program;
    TTempFolder Home;
    TRecordingPrompts Prompts;
    std::unique_ptr<TForm1> Form;

    void SetUp() override
    {
        QDir::setCurrent(QString::fromStdString(Program.Path().string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(Home / "data"));
        for (const char* folder : {"podcast", "news", "fixes"})
            fs::create_directory(Home / folder);
        ASSERT_TRUE(MakeWav(Home / "podcast/ep12.wav", 2));
        ASSERT_TRUE(MakeWav(Home / "news/ep12.wav", 3));
        Subtitles(Home / "podcast/ep12.srt", "Podcast line.");
        Subtitles(Home / "news/ep12.srt", "News line.");
        Form = std::make_unique<TForm1>(QString::fromStdString(Program / "olveplayer"), QStringList{"NoTie"}, Prompts);
        Form->Player().AudioSink = "fakesink sync=true";
        Form->show();
    }
    void TearDown() override
    {
        Form->close();
        Form.reset();
        qunsetenv("XDG_DATA_HOME");
    }
    static void Subtitles(const std::string& path, const std::string& text)
    {
        std::ofstream(path) << "1\n00:00:00,200 --> 00:00:01,500\n" << text << "\n";
    }
    // The title is made beside the window: true once it has opened without a word to the user.
    bool OpenMaterial(const QStringList& paths)
    {
        const std::size_t told = Prompts.Said.size();
        return Form->OpenMaterial(paths) && WaitUntil([&] { return !Form->MakingTitle(); }, 30000) &&
               Prompts.Said.size() == told;
    }
    void DropFiles(const QStringList& paths)
    {
        Form->DropFiles(paths);
        WaitUntil([&] { return !Form->MakingTitle(); }, 30000);
    }
    std::string Told() const { return Prompts.Said.empty() ? std::string() : Prompts.Said.back(); }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }
    std::string FirstText() { return Form->Package().MainCards.Count() ? Form->Package().MainCards.Card(0).MainText : ""; }
    std::vector<fs::path> LibraryPackages()
    {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(Home / "data/olveplayer/library"))
            if (entry.path().extension() == ".qzw")
                found.push_back(entry.path());
        return found;
    }
};

}  // namespace

TEST_F(OwnMaterial, SameNamedRecordingsKeepTitlesOfTheirOwnThatReferToThemWhereTheyAre)
{
    ASSERT_TRUE(OpenMaterial({Q(Home / "podcast/ep12.wav")})) << Told();
    EXPECT_EQ(FirstText(), "Podcast line.");
    ASSERT_TRUE(OpenMaterial({Q(Home / "news/ep12.wav")})) << Told();
    EXPECT_EQ(FirstText(), "News line.");
    ASSERT_TRUE(OpenMaterial({Q(Home / "podcast/ep12.wav")}));
    EXPECT_EQ(FirstText(), "Podcast line.") << "the news took the podcast's title";
    EXPECT_EQ(Form->Player().FileName.toStdString(), fs::canonical(Home / "podcast/ep12.wav").string());

    const std::vector<fs::path> packages = LibraryPackages();
    ASSERT_EQ(packages.size(), 2u);
    for (const fs::path& package : packages)
        EXPECT_LT(fs::file_size(package) * 20, fs::file_size(Home / "podcast/ep12.wav")) << "the recording was copied";
    EXPECT_TRUE(Prompts.Said.empty()) << Told();

    const QString podcast = Q(Form->StartPage()->Recent().Items().front().Package);
    fs::rename(Home / "podcast/ep12.wav", Home / "podcast/moved.wav");
    EXPECT_FALSE(OpenAndWait(*Form, podcast));
    ASSERT_EQ(Prompts.Said.size(), 1u);
    EXPECT_NE(Prompts.Said[0].find("元の場所にありません"), std::string::npos) << Prompts.Said[0];
    EXPECT_NE(Prompts.Said[0].find("moved or deleted"), std::string::npos) << Prompts.Said[0];
}

TEST_F(OwnMaterial, SubtitlesGivenAloneGoWithTheOpenRecordingOrTheOneTheLearnerNames)
{
    DropFiles({Q(Home / "podcast/ep12.srt")});
    ASSERT_EQ(Prompts.Said.size(), 1u) << "with nothing open, the learner is asked";
    EXPECT_NE(Prompts.Said[0].find("use the subtitles with this recording?"), std::string::npos) << Prompts.Said[0];
    EXPECT_NE(Prompts.Said[0].find(Home / "podcast/ep12.wav"), std::string::npos) << Prompts.Said[0];
    EXPECT_EQ(FirstText(), "Podcast line.");

    std::ofstream(Home / "fixes/corrected.vtt", std::ios::trunc) << "WEBVTT\n\n00:00.200 --> 00:01.500\nCorrected line.\n";
    DropFiles({Q(Home / "fixes/corrected.vtt")});
    EXPECT_EQ(FirstText(), "Corrected line.") << "the open title is made anew with them";
    EXPECT_EQ(Form->Player().FileName.toStdString(), fs::canonical(Home / "podcast/ep12.wav").string());

    ASSERT_TRUE(WaitUntil([&] { return Form->LinkBox()->text().isEmpty(); }));
    Subtitles(Home / "fixes/handed.srt", "Handed over line.");
    Form->LinkBox()->HandOver(Q(Home / "fixes/handed.srt"));
    EXPECT_TRUE(WaitUntil([&] { return FirstText() == "Handed over line."; }, 10000)) << "a second start";
    EXPECT_EQ(LibraryPackages().size(), 1u) << "one recording, one title";
    EXPECT_EQ(Prompts.Said.size(), 1u) << Told();

    // An installed title's recording goes when that title closes: the new title carries it.
    ASSERT_TRUE(OpenAndWait(*Form, Q(MakeTestPackage(Home / "podcast", ThreeCardTitle()))));
    DropFiles({Q(Home / "fixes/corrected.vtt")});
    EXPECT_EQ(FirstText(), "Corrected line.");
    const std::string installed = Form->Player().FileName.toStdString();
    EXPECT_EQ(installed.rfind(Program / "vcd/", 0), 0u) << installed;
    const std::vector<fs::path> packages = LibraryPackages();
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_GT(fs::file_size(packages[0]) + fs::file_size(packages[1]), fs::file_size(installed));

    DropFiles({Q(Home / "notes.pdf")});
    EXPECT_EQ(Prompts.Said.back(), "この拡張子 <.pdf> のファイルには対応していません\r\n\r\nfiles of the extension <.pdf> cannot be opened");
}

TEST_F(OwnMaterial, AFolderIsASeriesWhoseNextEpisodeIsOfferedAtTheEndOfOne)
{
    const fs::path course = Home.Path() / "course";
    fs::create_directory(course);
    for (const auto& [name, text] : {std::pair{"ep10", "Episode ten."}, std::pair{"ep2", "Episode two."}}) {
        ASSERT_TRUE(MakeWav((course / (std::string(name) + ".wav")).string(), 2));
        Subtitles((course / (std::string(name) + ".srt")).string(), text);
    }
    DropFiles({Q(course.string())});
    EXPECT_EQ(FirstText(), "Episode two.") << Told();
    ASSERT_EQ(Form->StartPage()->SeriesList()->count(), 1);
    EXPECT_EQ(Form->StartPage()->SeriesList()->item(0)->text(), "course  1 / 2  ep2.wav");

    // Past the last card the next episode is asked for; a learner who declines stays.
    Prompts.Answers = {false};
    Form->Lesson().PlayCard(1);
    ASSERT_TRUE(WaitUntil([&] { return !Prompts.Said.empty(); }));
    EXPECT_EQ(Told(), "次のエピソード Next episode: ep10.wav");
    EXPECT_EQ(FirstText(), "Episode two.");
    Form->Lesson().PlayCard(1);
    ASSERT_TRUE(WaitUntil([&] { return Prompts.Said.size() == 2 && Form->MakingTitle(); }));
    ASSERT_TRUE(WaitUntil([&] { return !Form->MakingTitle() && FirstText() == "Episode ten."; }, 30000)) << Told();
    EXPECT_EQ(Form->StartPage()->SeriesList()->item(0)->text(), "course  2 / 2  ep10.wav");

    // At the series' end the usual notice; the start page's entry opens where the learner was.
    Form->Lesson().PlayCard(1);
    EXPECT_NE(Form->findChild<QLabel*>("NoMoreCards"), nullptr);
    ASSERT_TRUE(OpenMaterial({Q(Home / "podcast/ep12.wav")})) << Told();
    EXPECT_FALSE(Form->Series().Playing());
    Q_EMIT Form->StartPage()->SeriesList()->itemActivated(Form->StartPage()->SeriesList()->item(0));
    ASSERT_TRUE(WaitUntil([&] { return !Form->MakingTitle() && FirstText() == "Episode ten."; }, 30000)) << Told();
    EXPECT_TRUE(Form->Series().Playing());
    EXPECT_EQ(Prompts.Said.size(), 2u) << Told();
}
