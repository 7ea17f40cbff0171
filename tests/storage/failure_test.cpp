#include <gtest/gtest.h>

#include "files/failure.h"

using namespace olve;

TEST(BilingualText, TheSubjectStandsWhereTheFailureSaysAndAnEmptyOneLeavesNoGap)
{
    TFailure failure{TFailureKind::Missing, "ありません", "not there", "/a/b.qzw"};
    EXPECT_EQ(BilingualText(failure), "ありません\r\n\r\nnot there\r\n\r\n/a/b.qzw");
    failure.Place = TSubjectPlace::AngledBelow;
    EXPECT_EQ(BilingualText(failure), "ありません\r\n\r\nnot there\r\n\r\n< /a/b.qzw >");
    failure.Place = TSubjectPlace::Above;
    EXPECT_EQ(BilingualText(failure), "/a/b.qzw\r\n\r\nありません\r\n\r\nnot there");
    failure.Subject.clear();
    EXPECT_EQ(BilingualText(failure), "ありません\r\n\r\nnot there");
    EXPECT_EQ(BilingualText(failure, {TFailureKind::Failed, "既定で", "by default", "x"}),
              "ありません\r\n\r\nnot there\r\n\r\n既定で\r\n\r\nby default\r\n\r\nx");
}
