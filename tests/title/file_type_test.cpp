#include <gtest/gtest.h>

#include "title/file_type.h"

using namespace olve;

TEST(FileTypeIdOf, UsesTheThreeCharactersAfterTheDot)
{
    EXPECT_EQ(FileTypeIdOf(".qzw"), "qzw_auto_file");
    EXPECT_EQ(FileTypeIdOf(".qzusj"), "qzu_auto_file");
    EXPECT_EQ(FileTypeIdOf(".qz"), "qz_auto_file");
}

TEST(TitleFileType, TellsTitleFilesByTheirExtensionInAnyCase)
{
    EXPECT_EQ(TitleFileType("/t/lesson.qzc"), "AudioCDPlay");
    EXPECT_EQ(TitleFileType("/t/lesson.QZC"), "AudioCDPlay");
    EXPECT_EQ(TitleFileType("/t/lesson.QZD"), "AudioCDDictate");
    EXPECT_EQ(TitleFileType("/t/lesson.qzHK"), "AudioCDDictate");
    // The extension that appears twice in the table is simply a learning mode.
    EXPECT_EQ(TitleFileType("/t/lesson.QzGd"), "AudioCDDictate");
    EXPECT_FALSE(UnregisteredFileType("/t/lesson.QZD"));
    EXPECT_FALSE(UnregisteredFileType("/t/lesson.qzc"));
}

TEST(TitleFileType, AnUnknownExtensionIsNamedInTheFailure)
{
    EXPECT_EQ(TitleFileType("/t/notes.Txt"), "UnknownFileType");
    EXPECT_EQ(TitleFileType("/t.qzc/noextension"), "UnknownFileType");
    EXPECT_EQ(BilingualText(UnregisteredFileType("/t/notes.Txt").value()), ".Txt: ファイルタイプの登録がありません");
    EXPECT_EQ(BilingualText(UnregisteredFileType("/t.qzc/noextension").value()), ": ファイルタイプの登録がありません");
}
