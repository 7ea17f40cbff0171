#include <gtest/gtest.h>

#include <fstream>

#include "media/mp3_delay.h"
#include "support/temp_folder.h"

using olve::UncompensatedMp3Delay;
using Bytes = std::vector<unsigned char>;

namespace {

// The first frame of an MPEG-1 layer III stereo stream at 44.1 kHz, 128 kbit/s, with room for
// a Xing header at its usual place (4 + 32 bytes in) and whatever follows it.
Bytes Frame(const std::string& xing, const std::string& encoder, int encoderDelay)
{
    Bytes frame(417, 0);
    frame[0] = 0xFF;
    frame[1] = 0xFB;
    frame[2] = 0x90;
    frame[3] = 0x00;
    if (!xing.empty()) {
        std::copy(xing.begin(), xing.end(), frame.begin() + 36);
        frame[43] = 0x0F;  // frames, bytes, table of contents and quality follow
        const std::size_t tag = 36 + 8 + 4 + 4 + 100 + 4;
        std::copy(encoder.begin(), encoder.end(), frame.begin() + static_cast<long>(tag));
        frame[tag + 21] = static_cast<unsigned char>(encoderDelay >> 4);
        frame[tag + 22] = static_cast<unsigned char>((encoderDelay & 15) << 4);
    }
    return frame;
}

std::string Write(const TTempFolder& dir, const std::string& name, const Bytes& bytes)
{
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<std::streamsize>(bytes.size()));
    return dir / name;
}

}  // namespace

TEST(Mp3Delay, OnlyPaddingThatTheDecoderKeepsIsReported)
{
    TTempFolder dir;
    const auto lame = UncompensatedMp3Delay(Write(dir, "lame.mp3", Frame("Info", "LAME3.100", 576)));
    EXPECT_EQ(lame.Samples, 0);
    const auto other = UncompensatedMp3Delay(Write(dir, "other.mp3", Frame("Xing", "Lavc58.91", 1105)));
    EXPECT_EQ(other.Samples, 1105 + 529);
    const auto bare = UncompensatedMp3Delay(Write(dir, "bare.mp3", Frame("", "", 0)));
    EXPECT_EQ(bare.Samples, 576 + 529);
    EXPECT_EQ(bare.SampleRate, 44100);
    const auto xingOnly = UncompensatedMp3Delay(Write(dir, "xing.mp3", Frame("Xing", "", 0)));
    EXPECT_EQ(xingOnly.Samples, 576 + 529);

    // Behind an ID3v2 tag of 300 bytes.
    Bytes tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 2, 44};
    tagged.resize(10 + 300, 0);
    const Bytes frame = Frame("Info", "LAME3.100", 576);
    tagged.insert(tagged.end(), frame.begin(), frame.end());
    EXPECT_EQ(UncompensatedMp3Delay(Write(dir, "id3.mp3", tagged)).Samples, 0);

    Bytes layer2 = Frame("", "", 0);
    layer2[1] = 0xFD;
    EXPECT_EQ(UncompensatedMp3Delay(Write(dir, "layer2.mp2", layer2)).Samples, 0);
    EXPECT_EQ(UncompensatedMp3Delay(Write(dir, "riff.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0})).Samples, 0);
    EXPECT_EQ(UncompensatedMp3Delay(dir / "missing.mp3").Samples, 0);
}
