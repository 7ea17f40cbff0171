#include <QMenu>

#include "picture_pane_fixture.h"

using namespace olve;

namespace {

const char* const UndoCaption = "線をひとつもどす(&B)";
const char* const RedoCaption = "線をもどした操作をやり直す(&R)";
const char* const EraseCaption = "線をすべて消す(&X)";

}  // namespace

// A white 200 × 100 picture shown at twice its size from (0, 100).
class PictureLines : public PicturePaneTest {
protected:
    void SetUp() override
    {
        PicturePaneTest::SetUp();
        ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(200, 100)));
    }
    void TearDown() override { Pane->PictureMenu()->hide(); }

    bool MenuShown() const { return Pane->PictureMenu()->isVisible(); }
    void CloseMenu() { Pane->PictureMenu()->hide(); }
    QAction* Item(const char* caption) const
    {
        for (QAction* action : Pane->PictureMenu()->actions()) {
            if (action->text() == QString::fromUtf8(caption))
                return action;
        }
        return nullptr;
    }
    // Opens the menu with a right click and returns whether it opened.
    bool OpenMenu()
    {
        CloseMenu();
        Press({10, 10}, Qt::RightButton);
        Release({10, 10}, Qt::RightButton);
        return MenuShown();
    }
    void Choose(const char* caption)
    {
        ASSERT_TRUE(OpenMenu());
        QAction* item = Item(caption);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        CloseMenu();
        item->trigger();
    }
    void ExpectEnabled(bool undo, bool redo, bool erase)
    {
        ASSERT_TRUE(OpenMenu());
        EXPECT_EQ(Item(UndoCaption)->isEnabled(), undo);
        EXPECT_EQ(Item(RedoCaption)->isEnabled(), redo);
        EXPECT_EQ(Item(EraseCaption)->isEnabled(), erase);
        CloseMenu();
    }
};

TEST_F(PictureLines, ALeftDragDrawsALineFromWhereTheButtonWentDown)
{
    Drag({100, 200}, {300, 200});
    ASSERT_EQ(Pane->Lines().Count(), 1);
    EXPECT_EQ(Pane->Lines().Points().front(), (TPoint{50, 50}));
    EXPECT_EQ(Pane->Lines().Points().back(), (TPoint{150, 50}));
    EXPECT_EQ(Pane->Lines().Colors().front(), 255u);
    EXPECT_EQ(Pane->Lines().Widths().front(), 8);
    EXPECT_TRUE(IsRed(100, 200));
    EXPECT_TRUE(IsRed(200, 200));
    EXPECT_TRUE(IsRed(200, 203));
    EXPECT_FALSE(IsRed(200, 210));
    EXPECT_FALSE(Pane->Drawing());
    EXPECT_EQ(Pane->DownPoint(), (TPoint{-1, -1}));
}

TEST_F(PictureLines, MovesOfThreePixelsOrLessDrawNothing)
{
    Drag({100, 200}, {102, 201});
    EXPECT_EQ(Pane->Lines().Count(), 0);
    EXPECT_FALSE(MenuShown());
    Pane->SetCanDrawLine(false);
    Drag({100, 200}, {300, 200});
    EXPECT_EQ(Pane->Lines().Count(), 0);
}

TEST_F(PictureLines, ARightClickOpensTheMenuAndARightDragDoesNot)
{
    ASSERT_TRUE(OpenMenu());
    const QList<QAction*> items = Pane->PictureMenu()->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), QString::fromUtf8(UndoCaption));
    EXPECT_EQ(items[1]->text(), QString::fromUtf8(RedoCaption));
    EXPECT_EQ(items[2]->text(), QString::fromUtf8(EraseCaption));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), QString::fromUtf8("キャンセル"));
    EXPECT_TRUE(items[4]->isEnabled());
    CloseMenu();

    Press({200, 200}, Qt::RightButton);
    MoveHeld({210, 205}, Qt::RightButton);
    EXPECT_TRUE(Pane->Panning());
    EXPECT_EQ(Pane->InnerImage()->cursor().shape(), Qt::SizeAllCursor);
    MoveHeld({240, 230}, Qt::RightButton);
    Release({240, 230}, Qt::RightButton);
    EXPECT_FALSE(MenuShown());
    EXPECT_FALSE(Pane->Panning());
    EXPECT_EQ(Pane->InnerImage()->cursor().shape(), Qt::ArrowCursor);
    // The whole picture is shown, so it does not move.
    EXPECT_EQ(Pane->ViewCenter(), (TPoint{100, 50}));
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 100, 400, 300}));
}

TEST_F(PictureLines, CtrlClicksDrawStraightSegments)
{
    CtrlClick({100, 150});
    EXPECT_TRUE(Pane->Drawing());
    CtrlClick({300, 150});
    CtrlClick({300, 250});
    Press({100, 250});
    Release({100, 250});
    EXPECT_FALSE(Pane->Drawing());
    ASSERT_EQ(Pane->Lines().Count(), 1);
    EXPECT_EQ(Pane->Lines().Points(), (TAryPoint{{50, 25}, {150, 25}, {150, 75}}));
    EXPECT_TRUE(IsRed(200, 150));
    EXPECT_TRUE(IsRed(300, 200));
    EXPECT_FALSE(IsRed(200, 250));
}

TEST_F(PictureLines, ARightClickEndsACtrlClickLineWithoutTheMenu)
{
    CtrlClick({100, 150});
    CtrlClick({300, 150});
    Press({50, 50}, Qt::RightButton);
    Release({50, 50}, Qt::RightButton);
    EXPECT_FALSE(Pane->Drawing());
    EXPECT_FALSE(MenuShown());
    EXPECT_EQ(Pane->Lines().Points().size(), 2u);
    EXPECT_TRUE(OpenMenu());
}

TEST_F(PictureLines, TheMenuUndoesRedoesAndErasesLines)
{
    Drag({100, 150}, {300, 150});
    Drag({100, 250}, {300, 250});
    ExpectEnabled(true, false, true);

    Choose(UndoCaption);
    EXPECT_TRUE(IsRed(200, 150));
    EXPECT_FALSE(IsRed(200, 250));
    Choose(UndoCaption);
    EXPECT_FALSE(IsRed(200, 150));
    ExpectEnabled(false, true, true);

    Choose(RedoCaption);
    EXPECT_TRUE(IsRed(200, 150));
    ExpectEnabled(true, true, true);

    Choose(EraseCaption);
    EXPECT_EQ(Pane->Lines().Count(), 0);
    EXPECT_FALSE(IsRed(200, 150));
    ExpectEnabled(false, false, false);
}

TEST_F(PictureLines, ANewLineAfterAnUndoCannotBringTheUndoneOneBack)
{
    Drag({100, 150}, {300, 150});
    Drag({100, 250}, {300, 250});
    Choose(UndoCaption);
    Drag({200, 120}, {200, 280});
    EXPECT_EQ(Pane->Lines().Count(), 2);
    ExpectEnabled(true, false, true);
    EXPECT_FALSE(IsRed(250, 250));
    EXPECT_TRUE(IsRed(200, 200));
}

TEST_F(PictureLines, ErasingFromTheMenuEndsACtrlClickLine)
{
    CtrlClick({100, 150});
    ASSERT_TRUE(Pane->Drawing());
    // A right click would end the line itself; the menu can also come up another way.
    Pane->PictureMenu()->popup(QPoint(0, 0));
    QAction* erase = Item(EraseCaption);
    ASSERT_NE(erase, nullptr);
    CloseMenu();
    erase->trigger();
    EXPECT_FALSE(Pane->Drawing());
    EXPECT_EQ(Pane->Lines().Count(), 0);
}

TEST_F(PictureLines, LinesKeepTheirSpotOnThePictureWhenThePaneIsResized)
{
    Drag({100, 200}, {300, 200});  // picture (50, 50) to (150, 50)
    Pane->resize(200, 200);        // now shown 1:1 from (0, 50)
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 50, 200, 150}));
    EXPECT_TRUE(IsRed(50, 100));
    EXPECT_TRUE(IsRed(100, 100));
    EXPECT_TRUE(IsRed(150, 100));
    EXPECT_FALSE(IsRed(100, 110));
    EXPECT_FALSE(IsRed(170, 100));
    Pane->resize(400, 400);
    EXPECT_TRUE(IsRed(200, 200));
}

TEST_F(PictureLines, LoadingAnotherPictureErasesTheLinesAndTheirHistory)
{
    Drag({100, 150}, {300, 150});
    Choose(UndoCaption);
    CtrlClick({100, 250});
    ASSERT_TRUE(Pane->Drawing());
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(100, 100, "other.png")));
    EXPECT_EQ(Pane->Lines().Count(), 0);
    EXPECT_FALSE(Pane->Drawing());
    EXPECT_FALSE(IsRed(200, 250));
    ExpectEnabled(false, false, false);
}
