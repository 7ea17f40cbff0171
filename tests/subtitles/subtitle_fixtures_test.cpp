#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "cue_matchers.h"
#include "subtitles/subtitle_file.h"

using namespace olve;

namespace {

// The plain reading of all three inputs (example-out.srt).
const std::vector<TCueSummary> Expected = {
    {99000, 101040, "(door opens)"},
    {124080, 127120, "TEACHER:\nWhere did we stop last week?"},
    {132160, 135200, "Page twelve, I think."},
    {140240, 142280, "Open your books."},
    {148320, 151360, "Read the first line\nout loud, please."},
    {151400, 153440, "(students reading\ntogether)"},
};

class SubtitleFixtures : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(OLVE_SUBTITLE_FIXTURES))
            GTEST_SKIP() << "the subtitle fixtures are missing: " << OLVE_SUBTITLE_FIXTURES;
    }
};

}  // namespace

TEST_P(SubtitleFixtures, GiveTheSixCuesOfTheReferenceReading)
{
    TSubtitleFile file;
    std::string error;
    ASSERT_TRUE(ReadSubtitleFile(std::string(OLVE_SUBTITLE_FIXTURES) + "/" + GetParam(), file, error)) << error;
    EXPECT_EQ(Summaries(file.Cues), Expected);
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    for (const TSubtitleCue& cue : file.Cues)
        EXPECT_TRUE(cue.Parts.empty());
    // Headers, NOTE, STYLE and Region blocks are expected matter, not faults.
    EXPECT_EQ(file.Notes, std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Inputs, SubtitleFixtures,
                         testing::Values("example-in.srt", "example-in.vtt", "missing-sequence-in.srt",
                                         "example-out.srt"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
