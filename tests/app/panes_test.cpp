#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTableWidget>
#include <filesystem>

#include "app/picture_pane.h"
#include "app/resume_notice.h"
#include "app/text_pane.h"
#include "lesson/lesson_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"
#include "timing/positions.h"

using namespace olve;

namespace {

// Three cards of a recording played on fake sinks, one card at a time, with the pictures
// p1 to p3 in the title's pic folder: card 0 shows p1, card 1 p2, card 2 none.
class Panes : public testing::Test {
protected:
    TTempFolder Program;
    std::string Title = Program / "titles/T/";
    TPlayPackage Package;
    TLessonPlayer Lesson;

    void SetUp() override
    {
        ASSERT_TRUE(MakeWav(Program / "tone.wav", 4));
        std::filesystem::create_directories(Title + "pic");
        for (const char* name : {"p1.png", "p2.png", "p3.png"}) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::red);
            ASSERT_TRUE(image.save(QString::fromStdString(Title + "pic/" + name)));
        }
        Lesson.Player().AudioSink = "fakesink sync=true";
        Lesson.Player().FileName = QString::fromStdString(Program / "tone.wav");
        Lesson.Player().Open();
        ASSERT_NE(Lesson.Player().DeviceID(), 0);
        const char* const texts[][3] = {{"one", "", "p1.png"}, {"two", "に", "p2.png"}, {"three", "", ""}};
        for (int i = 0; i < 3; ++i) {
            TPlayCardItem card;
            card.MainText = texts[i][0];
            card.SubText = texts[i][1];
            card.Picture = texts[i][2];
            card.StartPos = MakePackedPosition(1, 0, 0, i * 1000 + 100);
            card.EndPos = MakePackedPosition(1, 0, 0, (i + 1) * 1000);
            card.TimeFormat = otfTrackMilliseconds;
            Package.MainCards.AddRec(card);
        }
        Lesson.Open(Package);
        Lesson.SetAutoPause(true);
    }
    void TearDown() override { Lesson.Player().Close(); }
    // The current card shown again as it stands, as a change of practice does.
    void ShowAgain() { Lesson.SetPractice(Lesson.Practice()); }
    static void Settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 200)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

}  // namespace

TEST_F(Panes, ThePicturePaneFollowsTheCardsPictureAndItsEditsAndTheCardListsRule)
{
    TPicturePane pane(nullptr, Lesson, QString::fromStdString(Program.Path().string()));
    pane.SetTitleFolder(QString::fromStdString(Title));
    EXPECT_TRUE(pane.HasPictures());
    const auto shown = [&] { return QFileInfo(pane.Picture()->FileName()).fileName().toStdString(); };
    Lesson.PlayCard(0);
    ASSERT_TRUE(WaitUntil([&] { return shown() == "p1.png"; }, 2000));
    Lesson.PlayCard(1);
    ASSERT_TRUE(WaitUntil([&] { return shown() == "p2.png"; }, 2000));
    Lesson.Stop();
    Package.MainCards.SetPicture(1, "P3.PNG");
    ShowAgain();
    EXPECT_EQ(shown(), "p3.png") << "an edited picture shows on the same card";

    pane.SetDisplayMode(TDisplayMode::List);
    Lesson.PlayCard(2);
    Settle();
    EXPECT_EQ(shown(), "p3.png") << "the card list without pictures looks none up";
    pane.SetDisplayMode(TDisplayMode::ListPic);
    ShowAgain();
    EXPECT_EQ(shown(), "p3.png") << "the card list with pictures only for a new card";
    Lesson.PlayCard(0);
    ASSERT_TRUE(WaitUntil([&] { return shown() == "p1.png"; }, 2000));

    pane.SetTitleFolder(QString::fromStdString(Program / "titles/Other/"));
    EXPECT_FALSE(pane.HasPictures()) << "pictures are looked up in the title's own folder";
}

TEST_F(Panes, TheTextPaneShowsTheCardsTextsAndGivesWayToTheGridInTheCardList)
{
    QWidget window;
    auto* pane = new TTextPane(&window, Lesson);
    auto* grid = new QTableWidget(pane);
    pane->HoldGrid(grid);
    pane->setGeometry(0, 0, 400, 300);
    window.resize(400, 300);
    window.show();
    pane->TakeTitle(TTitleDisplay{});
    pane->LayOut();
    EXPECT_TRUE(pane->SubView()->isVisible()) << "a card has Japanese text";
    EXPECT_EQ(pane->SubView()->geometry().bottom(), 299);

    Lesson.PlayCard(1);
    ASSERT_TRUE(WaitUntil([&] { return pane->MainView()->DisplayText() == "two"; }, 2000));

    pane->SetDisplayMode(TDisplayMode::List, TTextPane::DefaultSubHeight);
    pane->resize(380, 280);
    EXPECT_FALSE(pane->MainView()->isVisible());
    EXPECT_FALSE(pane->SubView()->isVisible());
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->geometry(), pane->rect()) << "the grid follows the pane";
    EXPECT_FALSE(pane->CaretMoves()) << "no caret to move in the card list";
    Lesson.PlayCard(2);
    Settle();
    EXPECT_EQ(pane->MainView()->DisplayText(), "two") << "the hidden views are left alone";

    pane->SetDisplayMode(TDisplayMode::System, 100);
    EXPECT_TRUE(pane->CaretMoves());
    Package.MainCards.SetSubText(1, "");
    pane->TakeTitle(TTitleDisplay{});
    pane->LayOut();
    EXPECT_FALSE(pane->SubView()->isVisible()) << "no card has Japanese text";
    EXPECT_EQ(pane->MainView()->height(), pane->height());
}

TEST_F(Panes, TheTextPaneStepsAndRestoresTheFontsAndOffersTheLastCard)
{
    QWidget window;
    auto* pane = new TTextPane(&window, Lesson);
    pane->setGeometry(0, 0, 400, 300);
    window.show();
    EXPECT_EQ(pane->MainFontSize(), 14);
    pane->StepFontSize(true, 1);
    pane->StepFontSize(false, -1);
    EXPECT_EQ(pane->MainView()->font().pointSize(), 16);
    EXPECT_EQ(pane->SubFontSize(), 12);
    pane->StepFontSize(true, 3);
    EXPECT_EQ(pane->MainFontSize(), 16) << "a step is one up or one down";
    pane->RestoreFontSizes(0, 0);
    EXPECT_EQ(pane->MainFontSize(), 16) << "a title that keeps no sizes leaves them";
    pane->RestoreFontSizes(36, 9);
    pane->StepFontSize(true, 1);
    EXPECT_EQ(pane->MainView()->font().pointSize(), 36) << "the top of the ladder";
    EXPECT_EQ(pane->SubView()->font().pointSize(), 9);

    pane->OfferResume(2, 3);
    EXPECT_TRUE(pane->ResumeNotice()->isVisible());
    pane->ResumeLastCard();
    EXPECT_EQ(Lesson.CurrentCard(), 2);
    EXPECT_FALSE(pane->ResumeNotice()->isVisible()) << "the card chosen withdraws the offer";
    pane->ResumeLastCard();
    EXPECT_EQ(Lesson.CurrentCard(), 2) << "nothing left to go on from";
}
