#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sys/resource.h>

#include "train_install.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

// Files may grow to this many bytes, as on a nearly full disk; a write past it fails (EFBIG).
constexpr rlim_t SizeLimit = 4096;

void LimitFileSize()
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{SizeLimit, SizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Ends the forked child: 0 when every check held, else what went wrong on stderr.
[[noreturn]] void ExitWith(const std::vector<std::string>& faults)
{
    for (const std::string& fault : faults)
        std::cerr << fault << "\n";
    std::exit(faults.empty() ? 0 : 1);
}

}  // namespace

// Run in a child process, so that the limit stays there.
TEST(TrainWriteFailures, AreReportedWithTheirReasonAndTheRestInstalls)
{
    TInstall install;
    const std::string large(static_cast<std::size_t>(LargeEntrySize) + 10, 'L');
    install.Make("", {{"small.txt", "S"}, {"new\\big.bin", std::string(20000, 'B')}, {"large.bin", large}, {"after.txt", "A"}});
    install.Existing("large.bin", "before");
    EXPECT_EXIT(
        {
            LimitFileSize();
            const bool result = install.Run(1, false);
            std::vector<std::string> faults;
            auto check = [&faults](bool ok, const std::string& what) {
                if (!ok)
                    faults.push_back(what);
            };
            check(result, "the installation gave false");
            check(install.Written() == std::vector<std::string>{install.At("small.txt"), install.At("after.txt")},
                  "the written files are not the two small ones");
            check(ReadBytes(install.At("large.bin")) == "before", "the file that was there was touched");
            check(!fs::exists(install.At("new")), "the folder made for a failed file was left behind");
            check(install.Outcome.Failed.size() == 2 && install.Outcome.Failed[0].Path == install.At("new/big.bin") &&
                      install.Outcome.Failed[1].Path == install.At("large.bin") &&
                      install.Outcome.Failed[0].Reason == std::strerror(EFBIG),
                  "the failures are not in the outcome");
            const std::string report = "ファイルの書き込みに失敗しました (2)\r\n\r\nwriting files failed\r\n\r\n" +
                                       install.Package() + "\r\n\r\n" + install.At("new/big.bin") + ": " +
                                       std::strerror(EFBIG) + "\r\n" + install.At("large.bin") + ": " +
                                       std::strerror(EFBIG) + "\r\n";
            check(install.Prompts.Said == std::vector<std::string>{report},
                  "the report is not " + report + " but " +
                      (install.Prompts.Said.empty() ? std::string("nothing") : install.Prompts.Said.back()));
            ExitWith(faults);
        },
        testing::ExitedWithCode(0), "");
    // Nothing half-written is left under any name.
    for (const auto& entry : fs::recursive_directory_iterator(install.Dest()))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".part")) << entry.path();
}
