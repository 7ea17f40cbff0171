#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <filesystem>

#include "app/start_page.h"
#include "lesson/series_record.h"
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

TEST(StartPage, SeriesShowTheirPlaceOpenThereAndAGoneFolderIsGreyedAndRemovable)
{
    TTempFolder home, media;
    TSettingsFileStore store(home / "olve.ini", home.Path().string());
    const std::string gone = SeriesRecordFor(home.Path().string(), "/gone/Lectures");
    ASSERT_FALSE(WriteSeriesRecord(gone, TSeries{"/gone/Lectures", {"l1.mp3", "l2.mp3"}, 1}));
    const std::string here = SeriesRecordFor(home.Path().string(), media.Path().string());
    ASSERT_FALSE(WriteSeriesRecord(here, TSeries{media.Path().string(), {"ep1.mp3", "ep2.mp3", "ep3.mp3"}, 2}));
    std::filesystem::last_write_time(gone, std::filesystem::last_write_time(here) - std::chrono::hours(1));

    TStartPage page(store);
    QListWidget* list = page.SeriesList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QString::fromStdString(media.Path().filename().string()) + "  3 / 3  ep3.mp3");
    EXPECT_EQ(list->item(1)->text(), "Lectures  2 / 2  l2.mp3");
    EXPECT_NE(list->item(0)->foreground().color(), QColor(Qt::gray));
    EXPECT_EQ(list->item(1)->foreground().color(), QColor(Qt::gray));

    QString opened;
    page.OnOpenSeries = [&](const QString& record) { opened = record; };
    Q_EMIT list->itemActivated(list->item(0));
    EXPECT_EQ(opened.toStdString(), here);

    list->setCurrentRow(1);
    QKeyEvent remove(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &remove);
    ASSERT_EQ(list->count(), 1);
    EXPECT_FALSE(std::filesystem::exists(gone));
    EXPECT_TRUE(std::filesystem::exists(here));
    EXPECT_EQ(page.RecentList()->count(), 0) << "the recent titles are another list";
}
