#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>

#include "app/start_page.h"
#include "lesson/settings_file_store.h"
#include "support/temp_folder.h"

using namespace olve;

TEST(StartPage, TitlesOpenedComeFirstOnceAndAreKeptAsTheLearnerLeavesThem)
{
    TTempFolder home;
    TSettingsFileStore store(home / "olve.ini", home.Path().string());
    {
        TStartPage page(store);
        page.Remember(QString::fromStdString(home / "a.qzw"), "A");
        page.Remember(QString::fromStdString(home / "b.qzw"), "B");
        page.Remember(QString::fromStdString(home / "a.qzw"), "A again");
        ASSERT_EQ(page.RecentList()->count(), 2);
        EXPECT_TRUE(page.RecentList()->item(0)->text().startsWith("A again"));
        page.RecentList()->setCurrentRow(1);
        QKeyEvent remove(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(page.RecentList(), &remove);
        EXPECT_EQ(page.RecentList()->count(), 1);
    }
    TStartPage again(store);
    EXPECT_EQ(again.Recent().Items(), (std::vector<TRecentTitle>{{home / "a.qzw", "A again"}}));
    ASSERT_EQ(again.RecentList()->count(), 1);
}
