#include "lesson/opening_choice.h"

#include <gtest/gtest.h>

using namespace olve;

using TWhat = TOpeningChoice::TWhat;

TEST(OpeningChoice, OnePackageOpensWhateverElseIsGiven)
{
    TOpeningChoice choice = ChooseOpening({"/m/notes.pdf", "/m/Lesson.QZW", "/m/talk.mp3"});
    EXPECT_EQ(choice.What, TWhat::Package);
    EXPECT_EQ(choice.Package, "/m/Lesson.QZW");

    // Two packages: which one was meant is not guessed.
    choice = ChooseOpening({"/m/a.qzw", "/m/b.qzw"});
    EXPECT_EQ(choice.What, TWhat::Unsupported);
    EXPECT_EQ(choice.Extension, ".qzw");
}

TEST(OpeningChoice, ARecordingOrSubtitlesMakeMaterialOfEverythingGiven)
{
    TOpeningChoice choice = ChooseOpening({"/m/read.txt", "/m/talk.OGG"});
    EXPECT_EQ(choice.What, TWhat::Material);
    EXPECT_EQ(choice.Material, (std::vector<std::string>{"/m/read.txt", "/m/talk.OGG"}));
    EXPECT_EQ(ChooseOpening({"/m/talk.vtt"}).What, TWhat::Material);

    // A transcript alone has no recording to be aligned with.
    choice = ChooseOpening({"/m/read.txt"});
    EXPECT_EQ(choice.What, TWhat::Unsupported);
    EXPECT_EQ(choice.Extension, ".txt");
    EXPECT_EQ(ChooseOpening({"/m/README"}).Extension, "");
    EXPECT_EQ(ChooseOpening({"/m/odd."}).Extension, "");
    EXPECT_EQ(ChooseOpening({}).What, TWhat::Nothing);
}

TEST(OpeningChoice, AHandOverAloneIsAPackageARecordingOrSubtitles)
{
    for (const char* path : {"/m/a.qzw", "/m/b.MKV", "/m/c.lrc"})
        EXPECT_TRUE(IsOpenableAlone(path)) << path;
    for (const char* path : {"/m/read.txt", "busy", "", "/m/a.qzw/", "/m/x.pdf"})
        EXPECT_FALSE(IsOpenableAlone(path)) << path;
}
