#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codec/cp932_text.h"
#include "subtitles/subtitle_cue.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "titlemaker/single_card_export.h"
#include "titlemaker/title_cards.h"

using namespace olve;

namespace {

class SingleCardExport : public testing::Test {
protected:
    SingleCardExport()
    {
        std::vector<std::string> notes;
        AddMainCards(Package, {{1, 100, 900, "one", {}}, {2, 1000, 1800, "two", {}}}, {}, {"", "gone.png"}, notes);
        MakeOgg(Dir / "talk.ogg", 2);
        std::filesystem::create_directories(Dir / "export");
    }

    TSingleCardExport Export(int index, const std::string& folder) const
    {
        return ExportSingleCard(Package.MainCards, index, "Talk", {Dir / "talk.ogg", Dir / "title/"}, folder);
    }

    TTempFolder Dir;
    TPlayPackage Package;
};

}  // namespace

TEST_F(SingleCardExport, WritesTheClipAndOneLineAndNamesTheClip)
{
    const TSingleCardExport exported = Export(0, Dir / "export");
    ASSERT_TRUE(exported.Written) << (exported.Failure ? BilingualText(*exported.Failure) : "");
    EXPECT_FALSE(exported.Failure);
    EXPECT_EQ(exported.Clip, "Talk-001.ogg");
    EXPECT_GT(std::filesystem::file_size(Dir / "export/Talk-001.ogg"), 0u);
    std::ifstream tsv(Dir / "export/cards.tsv");
    std::string line;
    std::getline(tsv, line);
    EXPECT_EQ(line, "one\t\t[sound:Talk-001.ogg]\t\tTalk_001");
}

TEST_F(SingleCardExport, AMissingPictureIsToldAndTheCardKept)
{
    const TSingleCardExport exported = Export(1, Dir / "export");
    EXPECT_TRUE(exported.Written);
    ASSERT_TRUE(exported.Failure);
    const std::string text = BilingualText(*exported.Failure);
    EXPECT_EQ(text.rfind("カードの絵は書き出せませんでした\r\n\r\nthe card's picture was not exported:\r\n", 0), 0u) << text;
}

TEST_F(SingleCardExport, AFolderThatCannotTakeTheCardIsToldAndNothingElse)
{
    std::ofstream(Dir / "file") << "the learner's own";
    const TSingleCardExport exported = Export(0, Dir / "file");
    EXPECT_FALSE(exported.Written);
    ASSERT_TRUE(exported.Failure);
    EXPECT_EQ(exported.Failure->Kind, TFailureKind::Unwritable);
    EXPECT_EQ(BilingualText(*exported.Failure).rfind("カードを書き出せませんでした\r\n\r\nexporting the card failed: ", 0), 0u);
    for (int outside : {-1, 2}) {
        const TSingleCardExport none = Export(outside, Dir / "export");
        EXPECT_FALSE(none.Written);
        EXPECT_FALSE(none.Failure) << "a card that is not there is no failure to tell";
    }
    EXPECT_FALSE(std::filesystem::exists(Dir / "export/cards.tsv"));
}
