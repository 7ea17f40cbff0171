#include <gtest/gtest.h>

#include "storage/file_type.h"
#include "support/recording_prompts.h"

using namespace olve;

TEST(FileTypeIdOf, UsesTheThreeCharactersAfterTheDot)
{
    EXPECT_EQ(FileTypeIdOf(".qzw"), "qzw_auto_file");
    EXPECT_EQ(FileTypeIdOf(".qzusj"), "qzu_auto_file");
    EXPECT_EQ(FileTypeIdOf(".qz"), "qz_auto_file");
}

TEST(TitleFileType, TellsTitleFilesByTheirExtensionInAnyCase)
{
    TRecordingPrompts prompts;
    EXPECT_EQ(TitleFileType("/t/lesson.qzc", prompts), "AudioCDPlay");
    EXPECT_EQ(TitleFileType("/t/lesson.QZC", prompts), "AudioCDPlay");
    EXPECT_EQ(TitleFileType("/t/lesson.QZD", prompts), "AudioCDDictate");
    EXPECT_EQ(TitleFileType("/t/lesson.qzHK", prompts), "AudioCDDictate");
    // The extension that appears twice in the table is simply a learning mode.
    EXPECT_EQ(TitleFileType("/t/lesson.QzGd", prompts), "AudioCDDictate");
    EXPECT_TRUE(prompts.Said.empty());
}

TEST(TitleFileType, AnUnknownExtensionIsReportedOnce)
{
    TRecordingPrompts prompts;
    EXPECT_EQ(TitleFileType("/t/notes.Txt", prompts), "UnknownFileType");
    EXPECT_EQ(TitleFileType("/t.qzc/noextension", prompts), "UnknownFileType");
    EXPECT_EQ(prompts.Said, (std::vector<std::string>{".Txt: ファイルタイプの登録がありません",
                                                      ": ファイルタイプの登録がありません"}));
}
