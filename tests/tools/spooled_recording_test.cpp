#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "support/temp_folder.h"
#include "tool_run.h"
#include "tools/spooled_recording.h"

namespace fs = std::filesystem;
using namespace olve;

namespace {

// A pipe whose writer never stops until nobody reads any more.
class TEndlessPipe {
public:
    TEndlessPipe()
    {
        EXPECT_EQ(pipe(FEnds), 0);
        FWriter = std::thread([fd = FEnds[1]] {
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            const std::string chunk(1 << 16, 'x');
            while (write(fd, chunk.data(), chunk.size()) > 0) {
            }
            close(fd);
        });
    }
    ~TEndlessPipe()
    {
        close(FEnds[0]);
        FWriter.join();
    }
    std::string Path() const { return "/dev/fd/" + std::to_string(FEnds[0]); }

private:
    int FEnds[2] = {-1, -1};
    std::thread FWriter;
};

}  // namespace

// A pipe without end stops at the limit with a message that says so, and leaves no copy.
TEST(SpooledRecording, APipeWithoutEndStopsAtTheLimitAndLeavesNothing)
{
    TTempFolder temporary;
    setenv("TMPDIR", temporary.Path().c_str(), 1);
    TEndlessPipe endless;
    TSpooledRecording spooled(3 << 20);
    std::string usable, error;
    EXPECT_FALSE(spooled.Spool(endless.Path(), usable, error));
    EXPECT_NE(error.find("larger than 3 MB, the most a package can hold"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(temporary.Path()));
    unsetenv("TMPDIR");
}

// A write that fails says why and where (not some later file), and the copy goes.
TEST(SpooledRecording, AFailedCopySaysTheRealCauseAndWhere)
{
    TTempFolder dir;
    std::ofstream(dir / "talk.ogg") << std::string(200000, 'o');
    std::ofstream(dir / "talk.srt") << "1\n00:00:00,500 --> 00:00:01,500\nGood morning.\n";
    // Files may grow to 64 KB only, as on a full disk; the signal is ignored so writes fail.
    const TToolRun run = RunCommand("trap '' XFSZ; ulimit -f 64; cat " + Quoted(dir / "talk.ogg") + " | TMPDIR=" +
                                    Quoted(dir.Path()) + " " + Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") +
                                    " title from-subtitles /dev/stdin " + Quoted(dir / "talk.srt") + " -o " +
                                    Quoted(dir / "talk.qzw"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("File too large"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(dir / "olvetool-"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("title file"), std::string::npos) << run.Err;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind("olvetool-", 0), std::string::npos) << entry.path();
    EXPECT_FALSE(fs::exists(dir / "talk.qzw"));
}

// Killed while copying, the tool leaves no recording in the temporary folder.
TEST(SpooledRecording, AKilledCopyLeavesNoRecordingBehind)
{
    TTempFolder dir;
    std::ofstream(dir / "talk.srt") << "1\n00:00:00,500 --> 00:00:01,500\nGood morning.\n";
    const TToolRun run = RunCommand("{ head -c 5000000 /dev/zero; sleep 2; } | TMPDIR=" + Quoted(dir.Path()) + " " +
                                    Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") + " title from-subtitles /dev/stdin " +
                                    Quoted(dir / "talk.srt") + " -o " + Quoted(dir / "talk.qzw") +
                                    " & tool=$!; sleep 1; kill -9 $tool; wait $tool");
    EXPECT_EQ(run.Status, 128 + SIGKILL);
    std::uintmax_t left = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        if (entry.is_regular_file() && !entry.is_symlink())
            left += entry.file_size();
    EXPECT_LT(left, 1000u);
}
