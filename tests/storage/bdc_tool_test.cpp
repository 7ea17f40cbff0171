#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace {

std::string Tool()
{
    return std::string(OLVE_BIN_DIR) + "/olvetool";
}

int RunTool(const std::string& args, const std::string& errFile)
{
    const int status = std::system((Tool() + " " + args + " 2>" + errFile).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(BdcTool, EncodesAndDecodesFiles)
{
    TTempFolder dir;
    std::ofstream(dir / "in.txt", std::ios::binary) << "[System]\r\nWidth=512\r\n";
    ASSERT_EQ(RunTool("bdc encode " + (dir / "in.txt") + " " + (dir / "in.bdc"), dir / "err"), 0);
    EXPECT_EQ(Slurp(dir / "in.bdc").substr(0, 4), "BDC1");
    ASSERT_EQ(RunTool("bdc decode " + (dir / "in.bdc") + " " + (dir / "out.txt"), dir / "err"), 0);
    EXPECT_EQ(Slurp(dir / "out.txt"), "[System]\r\nWidth=512\r\n");
}

TEST(BdcTool, AFailedDecodeExitsNonZeroWithTheReason)
{
    TTempFolder dir;
    std::ofstream(dir / "bad.bdc", std::ios::binary) << "plain text";
    EXPECT_NE(RunTool("bdc decode " + (dir / "bad.bdc") + " " + (dir / "out.txt"), dir / "err"), 0);
    EXPECT_NE(Slurp(dir / "err").find("データの形式が違います"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    EXPECT_NE(RunTool("bdc frobnicate", dir / "err"), 0);
}

// "-" is the standard stream: a decode meant for the terminal leaves no file named "-".
TEST(BdcTool, DashIsTheStandardStream)
{
    TTempFolder dir;
    std::ofstream(dir / "in.txt", std::ios::binary) << "[Title A]\r\nLastCard=3\r\n";
    const std::string cd = "cd " + dir.Path().string() + " && ";
    ASSERT_EQ(std::system((cd + Tool() + " bdc encode - in.bdc < in.txt").c_str()), 0);
    ASSERT_EQ(std::system((cd + Tool() + " bdc decode in.bdc - > out.txt").c_str()), 0);
    EXPECT_EQ(Slurp(dir / "out.txt"), "[Title A]\r\nLastCard=3\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "-"));
}
