#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "tool_run.h"
#include "tools/spooled_recording.h"

namespace fs = std::filesystem;
using namespace olve;

namespace {

// olvetool making a title of the recording that feed writes into its standard input, with
// its temporary folder in dir.
TToolRun MakeTitleFromPipe(const TTempFolder& dir, const std::string& feed, const std::string& after = "")
{
    std::ofstream(dir / "talk.srt") << "1\n00:00:00,500 --> 00:00:01,500\nGood morning.\n";
    return RunCommand(feed + " | TMPDIR=" + Quoted(dir.Path()) + " " + Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") +
                      " title from-subtitles /dev/stdin " + Quoted(dir / "talk.srt") + " -o " +
                      Quoted(dir / "talk.qzw") + after);
}

}  // namespace

// A pipe without end stops at the limit with a message that says so, and leaves no copy.
TEST(SpooledRecording, APipeWithoutEndStopsAtTheLimitAndLeavesNothing)
{
    TTempFolder temporary;
    setenv("TMPDIR", temporary.Path().c_str(), 1);
    std::FILE* endless = popen("yes", "r");
    ASSERT_NE(endless, nullptr);
    TSpooledRecording spooled(3 << 20);
    std::string usable, error;
    EXPECT_FALSE(spooled.Spool("/dev/fd/" + std::to_string(fileno(endless)), usable, error));
    pclose(endless);
    unsetenv("TMPDIR");
    EXPECT_NE(error.find("larger than 3 MB, the most a package can hold"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(temporary.Path()));
}

// A write that fails says why and where (not some later file), and the copy goes; killed
// while copying, the tool leaves no recording behind either (only the mark naming its process,
// by which the next run removes the folder).
TEST(SpooledRecording, AFailedOrKilledCopySaysWhyAndLeavesNoRecording)
{
    TTempFolder dir;
    // Files may grow to 64 KB only, as on a full disk; the signal is ignored so writes fail.
    const TToolRun full = MakeTitleFromPipe(dir, "trap '' XFSZ; ulimit -f 64; head -c 200000 /dev/zero");
    EXPECT_EQ(full.Status, 1);
    EXPECT_NE(full.Err.find("File too large"), std::string::npos) << full.Err;
    EXPECT_NE(full.Err.find(dir / "olvetool-"), std::string::npos) << full.Err;
    EXPECT_EQ(full.Err.find("title file"), std::string::npos) << full.Err;

    const TToolRun killed = MakeTitleFromPipe(dir, "{ head -c 5000000 /dev/zero; sleep 2; }",
                                              " & tool=$!; sleep 1; kill -9 $tool; wait $tool");
    EXPECT_EQ(killed.Status, 128 + SIGKILL);
    std::uintmax_t left = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        if (entry.is_regular_file() && !entry.is_symlink() && entry.path().filename() != "talk.srt" &&
            entry.path().filename() != ".owner")
            left += entry.file_size();
    EXPECT_EQ(left, 0u);
    EXPECT_FALSE(fs::exists(dir / "talk.qzw"));
}
