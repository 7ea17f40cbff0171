#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "support/temp_folder.h"
#include "titlemaker/transcript_file.h"

using namespace olve;

namespace {

bool IsText(const std::string& bytes, std::string& why)
{
    std::string text;
    return TranscriptTextOf(bytes, text, why);
}

std::string Noise(std::size_t size, int lowest)
{
    std::mt19937 random(5);
    std::string bytes(size, ' ');
    for (char& c : bytes)
        c = static_cast<char>(lowest + random() % (256 - lowest));
    return bytes;
}

}  // namespace

// Pictures, recordings and programs are refused with the reason; text in any encoding a
// transcript comes in, a letter beyond ASCII now and then included, is taken.
TEST(TranscriptFile, OnlyTextIsTaken)
{
    std::string why;
    EXPECT_FALSE(IsText(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + Noise(4000, 0), why));
    EXPECT_NE(why.find("NUL bytes"), std::string::npos) << why;
    EXPECT_FALSE(IsText("Good morning.\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11", why));
    EXPECT_NE(why.find("control characters"), std::string::npos) << why;
    EXPECT_FALSE(IsText(Noise(4000, 0x80), why));
    EXPECT_NE(why.find("neither UTF-8 nor Shift-JIS"), std::string::npos) << why;

    for (const std::string& text :
         {std::string("A caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve.\r\nNext line.\n"),
          std::string("\x82\xA8\x82\xCD\x82\xE6\x82\xA4\x81\x42\r\n"),  // Shift-JIS
          std::string("\xFF\xFEH\0i\0.\0\n\0", 10),                        // UTF-16 with its mark
          std::string("We met at the caf\xE9 on the corner and talked for an hour.\n")}) {
        EXPECT_TRUE(IsText(text, why)) << text << ": " << why;
    }
}

TEST(TranscriptFile, AFileLargerThanTheLimitIsRefused)
{
    TTempFolder dir;
    {
        std::ofstream big(dir / "big.txt", std::ios::binary);
        const std::string sentence = "This is one more sentence to read.\n";
        for (std::size_t written = 0; written <= TranscriptSizeLimit; written += sentence.size())
            big << sentence;
    }
    std::string text, error;
    EXPECT_FALSE(ReadTranscriptFile(dir / "big.txt", text, error));
    EXPECT_NE(error.find("big.txt is larger than 8 MB"), std::string::npos) << error;
    EXPECT_TRUE(text.empty());
}
