#include <gtest/gtest.h>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "title/shown_card_text.h"
#include "title/word_times.h"

using namespace olve;

namespace {

// "café — naïve 😀" over two lines, stored as code page 932 keeps it: "caf? ― na?ve ?".
const std::string Exact = "caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve \xF0\x9F\x98\x80\nnext";

TPlayCardItem Card(const std::string& exact, const std::string& tags = "")
{
    std::string bars;
    for (char c : exact)
        bars += c == '\n' ? std::string("||") : std::string(1, c);
    TPlayCardItem card;
    card.MainText = Utf8ToCp932(bars);
    card.DataText = SetTag(tags, ExactTextTagName, ExactTextValue(exact));
    return card;
}

}  // namespace

TEST(ShownCardText, TheKeptExactTextIsShownWhereTheMainTextLostLetters)
{
    const TPlayCardItem card = Card(Exact, "WTM=0:0;7:300");
    EXPECT_EQ(Cp932ToUtf8(card.MainText), "caf? \xE2\x80\x95 na?ve ?||next");
    // The tag is plain ASCII that the comma text never quotes: other readers pass it by.
    const std::string value = GetTag(card.DataText, ExactTextTagName);
    EXPECT_EQ(value.find_first_of(" ,\"\x80\xFF"), std::string::npos) << value;
    EXPECT_EQ(CommaTextSplit(card.DataText).size(), 2u);

    EXPECT_EQ(ShownCardText(card), "caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve \xF0\x9F\x98\x80||next");
    EXPECT_EQ(ShownCardText(card, TCardBreaks::CrLf), "caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve \xF0\x9F\x98\x80\r\nnext");
    // The text pane's text has one letter for each character the pane's offsets count.
    const std::string lines = ExactMainLines(card);
    EXPECT_EQ(lines, ShownCardText(card, TCardBreaks::CrLf));
    EXPECT_EQ(Cp932CharOffsets(card.MainText).back(), 20);
}

TEST(ShownCardText, WordTimesAndRangesPointAtTheSameWordsInTheExactText)
{
    // Byte offsets in the stored text: "naïve" starts at byte 8 ("―" takes two bytes).
    const TPlayCardItem card = Card(Exact);
    const TShownText shown(card.MainText, card.DataText);
    ASSERT_TRUE(shown.IsExact());
    EXPECT_EQ(shown.Utf8(0, 4), "caf\xC3\xA9");
    EXPECT_EQ(shown.Utf8(5, 7), "\xE2\x80\x94");
    EXPECT_EQ(shown.Utf8(6, 7), "\xE2\x80\x94");  // half a character is taken whole
    EXPECT_EQ(shown.Utf8(8, 13), "na\xC3\xAFve");
    EXPECT_EQ(shown.Utf8(14, 15), "\xF0\x9F\x98\x80");
    TPlayCardItem ranged = card;
    ranged.DataText = SetTag(SetTag(card.DataText, "SST", "8"), "SLG", "5");
    EXPECT_EQ(ShownCardText(ranged), "   na\xC3\xAFve");
}

TEST(ShownCardText, ATagThatNoLongerFitsTheMainTextIsPassedBy)
{
    // Another program changed the main text and kept the tag; a hostile tag; no tag.
    TPlayCardItem edited = Card(Exact);
    edited.MainText = "edited";
    EXPECT_EQ(ShownCardText(edited), "edited");
    EXPECT_EQ(ExactMainLines(edited), "");
    TPlayCardItem lookAlike = Card("caf\xC3\xA9");
    lookAlike.DataText = SetTag("", ExactTextTagName, ExactTextValue("cafe"));
    EXPECT_EQ(ShownCardText(lookAlike), "caf?");
    for (const std::string& value : {"caf%C3", "caf%ZZ", "caf%", "caf%C3%A9%0A%0A", "caf\xC3\xA9"}) {
        lookAlike.DataText = NamedLine(ExactTextTagName, value);
        EXPECT_EQ(ShownCardText(lookAlike), "caf?") << value;
    }
    TPlayCardItem plain;
    plain.MainText = Utf8ToCp932("日本||語");
    EXPECT_EQ(ShownCardText(plain), "日本||語");
    EXPECT_EQ(ShownCardText(plain, TCardBreaks::CrLf), "日本\r\n語");
    EXPECT_EQ(ExactMainLines(plain), "");
}

TEST(ShownCardText, LabelsAreCutByTheBytesCodePage932Takes)
{
    EXPECT_EQ(StoredPrefixLength("abc", 50), 3u);
    EXPECT_EQ(StoredPrefixLength("caf\xC3\xA9 latte", 5), 6u);  // "é" is one byte, "?"
    EXPECT_EQ(StoredPrefixLength("日本語", 5), 6u);              // two whole characters
    EXPECT_EQ(StoredPrefixLength("a\xE2\x80\x94", 2), 1u);        // "—" is two bytes
}
