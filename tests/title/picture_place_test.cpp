#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codec/cp932_text.h"
#include "support/temp_folder.h"
#include "title/picture_place.h"

using namespace olve;

namespace {

// A program folder with a title below it, and files put where a test wants them.
class PicturePlace : public testing::Test {
protected:
    TTempFolder Program;
    std::string Title = Program / "titles/K100/";

    std::string Put(const std::string& relative)
    {
        const std::filesystem::path path = Program.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "picture";
        return path.string();
    }
    std::string Find(const std::string& name, const std::string& title) const
    {
        return FindCardPicture(name, title, Program.Path().string());
    }
};

}  // namespace

TEST_F(PicturePlace, APictureIsLookedForAsNamedThenInTheTitlesPicFolderThenInTheTitleFolder)
{
    const std::string inTitle = Put("titles/K100/p1.png");
    EXPECT_EQ(Find("p1.png", Title), inTitle);
    const std::string inPic = Put("titles/K100/pic/p1.png");
    EXPECT_EQ(Find("p1.png", Title), inPic) << "the pic folder first";
    const std::string beside = Put("p1.png");
    EXPECT_EQ(Find("p1.png", Title), beside) << "a name from the program folder first of all";
    const std::string absolute = Put("elsewhere/p9.png");
    EXPECT_EQ(Find(absolute, Title), absolute);
    EXPECT_EQ(Find("p2.png", Title), "") << "a picture that is nowhere";
    EXPECT_EQ(Find("", Title), "");
}

TEST_F(PicturePlace, StoredNamesMatchInAnyLetterCaseWithBackslashesAndJapaneseNames)
{
    const std::string found = Put("TITLES/k100/PIC/P1.Png");
    EXPECT_EQ(Find("pic\\p1.png", Program / "titles/K100/"), found);
    EXPECT_EQ(Find("p1.PNG", Program / "Titles/K100/"), found);
    const std::string japanese = Put("titles/K100/pic/写真.png");
    EXPECT_EQ(Find(Utf8ToCp932("写真.png"), Title), japanese);
}

TEST_F(PicturePlace, OnlyFilesCountAndATitleWithoutAFolderLooksNowhereElse)
{
    std::filesystem::create_directories(Program / "titles/K100/pic/p1.png");
    EXPECT_EQ(Find("p1.png", Title), "") << "a folder is no picture";
    Put("titles/K100/pic/p3.png");
    // "/" alone: the title folder would be the root of the file system.
    EXPECT_EQ(Find("titles/K100/pic/p3.png", "/"), Program / "titles/K100/pic/p3.png");
    EXPECT_EQ(Find("p3.png", "/"), "");
    EXPECT_EQ(Find("p3.png", ""), "");
}

TEST_F(PicturePlace, ATitleHasPicturesWhenAnyCardsPictureIsThere)
{
    TUndoPlayCardList cards;
    TPlayCardItem card;
    cards.AddRec(card);
    card.Picture = "missing.png";
    cards.AddRec(card);
    EXPECT_FALSE(CardsHavePictures(cards, Title, Program.Path().string()));
    Put("titles/K100/pic/there.png");
    card.Picture = "THERE.png";
    cards.AddRec(card);
    EXPECT_TRUE(CardsHavePictures(cards, Title, Program.Path().string()));
}
