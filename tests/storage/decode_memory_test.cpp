// Compressed data that announces more than it may hold is refused before the memory is taken,
// and memory that runs out while decoding is a failure to decode, never an abort. Each case
// runs in a child process, where its memory can be measured and bounded.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "codec/delta_code.h"
#include "train_install.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t MiB = 1u << 20;
const std::string DamagedReport = "壊れているファイルは書き込みませんでした (1)";

// A BDC stream of one-bit codes, the most any stream can expand: every bit of its code words
// is a byte. The header announces `announced` plain bytes.
std::string OneBitStream(std::uint32_t announced, std::size_t codeBytes)
{
    std::string stream = "BDC1" + Int32(0) + Int32(announced) + std::string(20, '\0') + "x";
    stream[18] = 1;  // one selector bit, then indexes of no bits: one symbol per bit
    stream.append(codeBytes, '\0');
    stream.replace(4, 4, Int32(static_cast<std::int64_t>(stream.size())));
    return stream;
}

std::string CodedEntryBytes(const std::string& name, std::uint32_t declaredSize, const std::string& stream)
{
    return "olve" + Int32(DosDate(2003, 2, 10, 0, 0, 0)) + Int32(declaredSize) +
           Int32(static_cast<std::int64_t>(name.size())) + name + Int32(static_cast<std::int64_t>(stream.size())) +
           stream;
}

// A package whose hostile entry comes before one that must install all the same.
void MakePackage(const TInstall& install, std::uint32_t declaredSize, const std::string& stream)
{
    WriteBytes(install.Package(),
               "0101" + Int32(0) + CodedEntryBytes("big.txt", declaredSize, stream) + EntryBytes({"after.txt", "fine"}));
}

std::size_t AddressSpaceInUse()
{
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The most memory this process has held at once; a child starts from what it holds at birth.
std::size_t PeakResidentSize()
{
    std::ifstream status("/proc/self/status");
    for (std::string field; status >> field;) {
        std::size_t kib = 0;
        if (field == "VmHWM:" && status >> kib)
            return kib * 1024;
    }
    return 0;
}

constexpr int ExceptionEscaped = 98;

// Runs work in a child that may take `headroom` more bytes of address space, when given; the child's exit
// status, or minus the signal that ended it. An exception that escapes work, which would end
// the program, ends the child with ExceptionEscaped.
int RunInChild(std::optional<std::size_t> headroom, const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlim_t limit = headroom ? AddressSpaceInUse() + *headroom : RLIM_INFINITY;
        const rlimit bound{limit, limit};
        if (headroom && setrlimit(RLIMIT_AS, &bound) != 0)
            _exit(99);
        try {
            _exit(work());
        } catch (...) {
            _exit(ExceptionEscaped);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// 0 when only the good entry was installed and the hostile one was reported as damaged.
int InstallReportingOneDamaged(TInstall& install)
{
    if (!install.Run(1))
        return 1;
    if (install.Written() != std::vector<std::string>{install.At("after.txt")})
        return 2;
    return install.Prompts.Said.size() == 1 && install.Prompts.Said[0].rfind(DamagedReport, 0) == 0 ? 0 : 3;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define OLVE_SKIP_UNDER_ADDRESS_SANITIZER() GTEST_SKIP() << "the address sanitizer's shadow memory defeats RLIMIT_AS"
#else
#define OLVE_SKIP_UNDER_ADDRESS_SANITIZER()
#endif

TEST(Decoding, AnEntryAnnouncingMoreThanItsDeclaredSizeIsRefusedBeforeTakingTheMemory)
{
    TInstall install;
    MakePackage(install, 5, OneBitStream(128 * MiB, 16 * MiB));
    // The 16 MiB of code words are read; the 128 MiB they announce are never taken.
    EXPECT_EQ(RunInChild(std::nullopt,
                         [&] {
                             const std::size_t before = PeakResidentSize();
                             const int result = InstallReportingOneDamaged(install);
                             return result != 0 ? result : PeakResidentSize() - before < 48 * MiB ? 0 : 4;
                         }),
              0);
    EXPECT_FALSE(fs::exists(install.At("big.txt")));
    EXPECT_EQ(ReadBytes(install.At("after.txt")), "fine");
}

TEST(Decoding, DataThereIsNoMemoryForFailsToDecodeWithoutAborting)
{
    OLVE_SKIP_UNDER_ADDRESS_SANITIZER();
    TInstall install;
    const std::string stream = OneBitStream(128 * MiB, 16 * MiB);
    MakePackage(install, 128 * MiB, stream);
    EXPECT_EQ(RunInChild(64 * MiB, [&] { return InstallReportingOneDamaged(install); }), 0);
    EXPECT_FALSE(fs::exists(install.At("big.txt")));
    EXPECT_EQ(ReadBytes(install.At("after.txt")), "fine");

    EXPECT_EQ(RunInChild(64 * MiB, [&] {
                  TDeltaCode codec;
                  codec.Coded.assign(stream.begin(), stream.end());
                  return !codec.Decode() && codec.LastError() == TDeltaCode::ErrorPlainSize ? 0 : 1;
              }),
              0);
}
