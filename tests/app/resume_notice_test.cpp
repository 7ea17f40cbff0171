#include <gtest/gtest.h>

#include <QWidget>

#include "app/resume_notice.h"

using namespace olve;

TEST(ResumeNotice, OffersOnlyACardPastTheFirstThatTheTitleStillHas)
{
    QWidget pane;
    auto* notice = new TResumeNotice(&pane);
    pane.show();
    notice->Offer(3, 10);
    EXPECT_EQ(notice->Card(), 3);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains("card 4")) << notice->text().toStdString();

    for (const int last : {0, -1, 10, 11}) {
        notice->Offer(3, 10);
        notice->Offer(last, 10);
        EXPECT_EQ(notice->Card(), -1) << last;
        EXPECT_FALSE(notice->isVisible()) << last;
    }
    notice->Offer(3, 10);
    notice->Withdraw();
    EXPECT_EQ(notice->Card(), -1);
    EXPECT_FALSE(notice->isVisible());
}
