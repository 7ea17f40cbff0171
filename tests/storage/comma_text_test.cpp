#include <gtest/gtest.h>

#include "codec/comma_text.h"

using namespace olve;
using Items = std::vector<std::string>;

TEST(CommaText, JoinQuotesOnlyItemsThatNeedIt)
{
    EXPECT_EQ(CommaTextJoin({""}), "\"\"");
    EXPECT_EQ(CommaTextJoin({}), "");
    EXPECT_EQ(CommaTextJoin({"a b", "c", ""}), "\"a b\",c,");
    EXPECT_EQ(CommaTextJoin({"say \"hi\"", "x,y", "tab\there"}), "\"say \"\"hi\"\"\",\"x,y\",\"tab\there\"");
    // Two-byte characters (here with a trail byte that looks like "@") are written as they are.
    EXPECT_EQ(CommaTextJoin({"\x82\xa0\x81\x40", "1"}), "\x82\xa0\x81\x40,1");
}

TEST(CommaText, SplitFollowsTheQuotesBlanksAndCommas)
{
    EXPECT_EQ(CommaTextSplit("1,2,,"), (Items{"1", "2", ""}));
    EXPECT_EQ(CommaTextSplit("\"a \"\"b\"\" c\",d"), (Items{"a \"b\" c", "d"}));
    EXPECT_EQ(CommaTextSplit("a b"), (Items{"a", "b"}));
    EXPECT_EQ(CommaTextSplit("  x ,  y"), (Items{"x", "y"}));
    EXPECT_EQ(CommaTextSplit(""), Items{});
    EXPECT_EQ(CommaTextSplit("\"\""), Items{""});
    EXPECT_EQ(CommaTextSplit("\"open"), Items{"open"});
    EXPECT_EQ(CommaTextSplit(std::string("a,b\0c,d", 7)), (Items{"a", "b"}));
    const Items round{"", "with space", "\"quoted\"", "x,y", "SST=3"};
    EXPECT_EQ(CommaTextSplit(CommaTextJoin(round)), (Items{"", "with space", "\"quoted\"", "x,y", "SST=3"}));
}

TEST(CommaText, TagsAreFoundIgnoringCaseAndRewrittenAtTheEnd)
{
    const std::string tags = "SST=3,slg=2,\"TAG=a b\"";
    EXPECT_EQ(GetTag(tags, "sst"), "3");
    EXPECT_EQ(GetTag(tags, "SLG"), "2");
    EXPECT_EQ(GetTag(tags, "TAG"), "a b");
    EXPECT_EQ(GetTag(tags, "KUT"), "");
    EXPECT_EQ(GetTag("", "SST"), "");
    EXPECT_EQ(SetTag(tags, "SST", "7"), "slg=2,\"TAG=a b\",SST=7");
    EXPECT_EQ(SetTag(tags, "slg", ""), "SST=3,\"TAG=a b\"");
    EXPECT_EQ(SetTag("", "KUT", "x"), "KUT=x");
}

TEST(CommaText, NamesAndNumbers)
{
    EXPECT_EQ(NameOf("VolSerialNum=K123"), "VolSerialNum");
    EXPECT_EQ(ValueOf("a=b=c"), "b=c");
    EXPECT_EQ(NameOf("no equals"), "");
    EXPECT_TRUE(IsNamed("timeformat=TMSF", "TimeFormat"));
    EXPECT_FALSE(IsNamed("TimeFormat", "TimeFormat"));

    int v = 0;
    EXPECT_TRUE(ParseDecimal("-12", v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(ParseDecimal("+7", v));
    for (const char* bad : {"", "-", "1.5", " 1", "1x", "99999999999", "+-1", "$10"})
        EXPECT_FALSE(ParseDecimal(bad, v)) << bad;
    EXPECT_EQ(DecimalOr("x", 9), 9);
}
