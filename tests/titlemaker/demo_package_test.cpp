#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "places/title_paths.h"
#include "filetrain/train_extract.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "title/title_session.h"
#include "title/word_times.h"
#include "tool_run.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// Installs the package into the program's folder as the player does and opens the title it wrote.
TTitleSession InstallAndOpen(const std::string& package, const std::string& program, TRecordingPrompts& prompts)
{
    TStringList written;
    EXPECT_TRUE(ExtractFileTrain(TExtractUi{}, package, program, written, 1, true));
    return OpenInstalledTitle(program, written, package, prompts.Consent());
}

}  // namespace

// Builds the bundled demo title from its sources as ./run.sh does and opens it as the player
// does.
TEST(DemoTitle, BuildsFromItsSourcesAndOpensLikeAnyTitle)
{
    for (const char* program : {"espeak-ng", "sox", "convert"})
        if (!HasProgram(program))
            GTEST_SKIP() << program << " is missing: scripts/deps.sh installs what the demo title needs";
    TTempFolder dir;
    const TToolRun built = RunCommand("bash " + Quoted(std::string(OLVE_SOURCE_DIR) + "/demo/build-demo.sh") + " " +
                                      Quoted(dir / "demo") + " " + Quoted(std::string(OLVE_BIN_DIR) + "/olvetool"));
    ASSERT_EQ(built.Status, 0) << built.Err;
    EXPECT_NE(built.Out.find("cards: "), std::string::npos);
    EXPECT_NE(built.Out.find(" from 10 cues (10 with sub texts, 10 with pictures)"), std::string::npos);
    EXPECT_EQ(built.Err, "");

    const TToolRun listed = Tool("list " + Quoted(dir / "demo/demo.qzw"));
    EXPECT_EQ(listed.Status, 0);
    for (const char* entry : {" demo.qzc\n", " vcd/OlveDemo01/demo.ogg\n", " vcd/OlveDemo01/vcd.ini\n",
                              " titles/O/OlveDemo01/pic/1.png\n", " titles/O/OlveDemo01/pic/10.png\n"})
        EXPECT_NE(listed.Out.find(entry), std::string::npos) << entry;

    fs::create_directory(dir / "program");
    const std::string program = dir / "program/";
    TRecordingPrompts prompts;
    const TTitleSession installed = InstallAndOpen(dir / "demo/demo.qzw", program, prompts);
    ASSERT_TRUE(installed.Opened()) << installed.Reason;
    const TPlayPackage& title = *installed.Package;
    EXPECT_EQ(installed.Serial, "OlveDemo01");
    EXPECT_FALSE(installed.VirtualCD.empty());
    ASSERT_TRUE(fs::exists(installed.MediaPath)) << installed.MediaPath;
    EXPECT_EQ(Tool("title dump " + Quoted(installed.TitleFile)).Status, 0);

    const TToolRun probed = Tool("media probe " + Quoted(installed.MediaPath));
    ASSERT_EQ(probed.Status, 0) << probed.Err;
    EXPECT_NE(probed.Out.find("content_class=audio"), std::string::npos);
    ASSERT_EQ(title.VcdCards.Count(), 1);
    EXPECT_NE(probed.Out.find("length_ms=" + std::to_string(title.VcdCards.EndUnits(0)) + "\n"), std::string::npos);
    EXPECT_GT(title.VcdCards.EndUnits(0), 15000);

    // Ten sentences, one card each with the times of its words, in time order, each with its
    // Japanese rendering and a picture that the player finds.
    std::set<std::string> sentences;
    for (int i = 0; i < title.MainCards.Count(); ++i) {
        const TPlayCardItem& card = title.MainCards.Card(i);
        sentences.insert(card.MainText);
        const auto times = WordTimesOf(card.DataText, static_cast<std::int64_t>(card.MainText.size()),
                                       title.MainCards.LengthUnits(i));
        EXPECT_GT(times.size(), 2u) << card.DataText;
        EXPECT_EQ(WordTimesValue(times), GetTag(card.DataText, WordTimesTagName));
        EXPECT_FALSE(card.SubText.empty());
        EXPECT_TRUE(fs::exists(TitleFolder(program, installed.Serial) + "pic/" + card.Picture)) << card.Picture;
        EXPECT_LT(title.MainCards.StartUnits(i), title.MainCards.EndUnits(i));
        if (i > 0) {
            EXPECT_LE(title.MainCards.EndUnits(i - 1), title.MainCards.StartUnits(i));
        }
    }
    EXPECT_EQ(sentences.size(), 10u);
    EXPECT_EQ(title.MainCards.Count(), 10);
    EXPECT_EQ(title.MainCards.Card(0).MainText, "Good morning! The sun is up.");
    EXPECT_EQ(title.MainCards.Card(0).SubText, Utf8ToCp932("おはよう！日が昇りました。"));
    EXPECT_EQ(title.MainCards.Card(0).DataText.rfind("WTM=0:0;5:", 0), 0u) << title.MainCards.Card(0).DataText;
}
