#include "lesson/opening_queue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "support/wait_until.h"

using namespace olve;

namespace {

class OpeningQueue : public ::testing::Test {
protected:
    OpeningQueue()
    {
        QObject::connect(&Queue, &TOpeningQueue::OpenNow, [this](const QString& path) { Opened << path; });
        QObject::connect(&Queue, &TOpeningQueue::Closable, [this] { ++Closables; });
    }

    // Lets the queue's timers run for ms.
    static void Run(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    bool Busy = false;
    TOpeningQueue Queue{[this] { return Busy; }};
    QStringList Opened;
    int Closables = 0;
};

}  // namespace

TEST_F(OpeningQueue, OpensOnceTheCallerHasReturnedAndOnlyTheLatestRequest)
{
    Queue.Request("/t/a.qzw");
    Queue.Request("/t/b.qzw");
    Queue.Request("/t/c.mp3");
    EXPECT_TRUE(Opened.isEmpty());
    EXPECT_EQ(Queue.Waiting(), "/t/c.mp3");
    ASSERT_TRUE(WaitUntil([&] { return !Opened.isEmpty(); }));
    Run(50);
    EXPECT_EQ(Opened, QStringList{"/t/c.mp3"});
    EXPECT_TRUE(Queue.Waiting().isEmpty());
}

TEST_F(OpeningQueue, WaitsWhileAnOpeningOrABoxIsUnderWay)
{
    Queue.Begin();
    Queue.Begin();
    Queue.Request("/t/a.qzw");
    Run(150);
    Queue.End();
    Run(150);
    EXPECT_TRUE(Opened.isEmpty()) << "one opening is still under way";
    Busy = true;
    Queue.End();
    Queue.Request("/t/b.qzw");
    Run(250);
    EXPECT_TRUE(Opened.isEmpty()) << "a box is on screen";
    Busy = false;
    ASSERT_TRUE(WaitUntil([&] { return !Opened.isEmpty(); }));
    EXPECT_EQ(Opened, QStringList{"/t/b.qzw"});
    EXPECT_EQ(Closables, 0);
}

TEST_F(OpeningQueue, NothingOpensAfterClosing)
{
    Queue.Request("/t/a.qzw");
    Queue.Close();
    EXPECT_EQ(Closables, 1);
    Queue.Request("/t/b.qzw");
    Run(150);
    EXPECT_TRUE(Opened.isEmpty());
    EXPECT_TRUE(Queue.Waiting().isEmpty());
}

TEST_F(OpeningQueue, ClosingWaitsForTheLastOpeningToEnd)
{
    Queue.Begin();
    Queue.Begin();
    Queue.Close();
    EXPECT_TRUE(Queue.Closing());
    EXPECT_EQ(Closables, 0);
    Queue.End();
    EXPECT_EQ(Closables, 0);
    Queue.End();
    EXPECT_EQ(Closables, 1);
    EXPECT_FALSE(Queue.Opening());
}

TEST_F(OpeningQueue, AHandOverTakesOnlyWhatAStartAloneWouldOpen)
{
    Queue.HandOver("/t/notes.pdf");
    Queue.HandOver("/t/read.txt");
    EXPECT_TRUE(Queue.Waiting().isEmpty());
    Queue.HandOver("/t/a.qzw");
    Queue.HandOver("/t/notes.pdf");
    EXPECT_EQ(Queue.Waiting(), "/t/a.qzw");
    ASSERT_TRUE(WaitUntil([&] { return !Opened.isEmpty(); }));
    EXPECT_EQ(Opened, QStringList{"/t/a.qzw"});
}
