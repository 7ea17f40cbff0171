#include "subtitles/subtitle_packet.h"

#include <gtest/gtest.h>

using namespace olve;

namespace {

std::string Text(const std::string& packet, TSubtitlePacketFormat format)
{
    return SubtitlePacketText(packet, format).Text;
}

}  // namespace

TEST(SubtitlePacket, SsaEventsGiveTheirTextFieldWithoutOverridesCommentsOrDrawings)
{
    const auto ssa = TSubtitlePacketFormat::Ssa;
    EXPECT_EQ(Text("3,0,Default,Anna,0,0,0,,{\\an8}{\\i1}Hello,{\\i0} you\\Nthere", ssa), "Hello, you\nthere");
    EXPECT_EQ(Text("Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a\\hb\\nc{a comment}d", ssa), "a b\ncd");
    EXPECT_EQ(Text("1,0,Sign,,0,0,0,,{\\pos(10,10)\\p1}m 0 0 l 10 0 10 10{\\p0}Exit", ssa), "Exit");
}

TEST(SubtitlePacket, TextAndWebVttPayloadsLoseTheirMarkup)
{
    EXPECT_EQ(Text("<i>Hello</i> &amp; <b>bye</b>\r\n second \r\n", TSubtitlePacketFormat::Text), "Hello & bye\nsecond");
    const auto vtt = TSubtitlePacketFormat::WebVtt;
    EXPECT_EQ(Text("<v Anna>Hi <c.red>there</c>\nyou", vtt), "Hi there\nyou");
    const TCueText timed = SubtitlePacketText("WEBVTT\n\n00:01.000 --> 00:02.000 line:0\nOne <00:01.500>two\n", vtt);
    EXPECT_EQ(timed.Text, "One two");
    ASSERT_EQ(timed.Stamps.size(), 1u);
    EXPECT_EQ(timed.Stamps[0], (TTimedPart{1500, 4}));
}
