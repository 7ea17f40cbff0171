#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QWidget>

#include "app/tool_bar.h"
#include "lesson/lesson_player.h"

using namespace olve;

namespace {

class ToolBar : public testing::Test {
protected:
    TLessonPlayer Lesson;
    QWidget Window;
    int Helps = 0;
    int CardMenus = 0;
    TToolBar* Bar = new TToolBar(Lesson, Calls(), &Window);

    TToolBarCalls Calls()
    {
        TToolBarCalls calls;
        calls.Actions.ChosenCard = [] { return std::optional<int>(); };
        calls.Actions.ShowCardMenu = [this] { ++CardMenus; };
        calls.Actions.ExportCard = [](const QString&) {};
        calls.ToggleLoop = [] {};
        calls.Open = [] {};
        calls.Help = [this] { ++Helps; };
        return calls;
    }

    void SetUp() override
    {
        Window.resize(800, 300);
        Bar->LayOut(Window.width());
        Window.show();
    }

    template <typename T = QWidget>
    T* Child(const char* name) const
    {
        return Window.findChild<T*>(name);
    }

    void MovePointer(QWidget* over, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, over->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(over, &move);
    }

    QAction* OverflowItem(const QString& text)
    {
        QMenu* more = Child<QMenu>("pmOverflow");
        more->aboutToShow();
        for (QAction* item : more->actions())
            if (item->data().toString() == text || item->text().contains(text))
                return item;
        return nullptr;
    }
};

}  // namespace

TEST_F(ToolBar, TheSpeakerOrItsOverflowItemDropsTheVolumeBarThatGoesWhenThePointerLeaves)
{
    QWidget* volume = Child("tbVolume");
    ASSERT_EQ(volume->parentWidget(), &Window) << "drops over the panes below the bar";
    MovePointer(Child("Image3"), {5, 5});
    ASSERT_TRUE(volume->isVisible());
    EXPECT_EQ(volume->y(), Bar->height());
    MovePointer(&Window, {5, 250});
    EXPECT_FALSE(volume->isVisible());

    Bar->LayOut(250);
    ASSERT_TRUE(Child("Image3")->isHidden());
    QAction* item = OverflowItem("Volume");
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_TRUE(volume->isVisible());
    const QWidget* overflow = Child("sbOverflow");
    EXPECT_LE(volume->x(), overflow->x());
    EXPECT_GE(volume->x() + volume->width(), overflow->x());
}

TEST_F(ToolBar, TheFullWidthIsTheNarrowestThatMovesNothingIntoTheOverflowMenu)
{
    Bar->LayOut(Bar->FullWidth());
    EXPECT_TRUE(Child("sbOverflow")->isHidden());
    for (const char* name : {"sbPause", "sbAutoPause", "Image3", "sbSpeed", "sbLoop", "sbOpen", "sbOnlineHelp"})
        EXPECT_FALSE(Child(name)->isHidden()) << name;
    Bar->LayOut(Bar->FullWidth() - 1);
    EXPECT_FALSE(Child("sbOverflow")->isHidden());
}

TEST_F(ToolBar, KeysRunOnlyTheEnabledPlayActionsAndTheBarFollowsTheLesson)
{
    Bar->EnablePlayControls(false);
    EXPECT_TRUE(Bar->Actions().Run(TKeyCommand::PlayList)) << "a play action's key, taken even when disabled";
    EXPECT_EQ(CardMenus, 0);
    EXPECT_FALSE(Bar->Actions().Run(TKeyCommand::SeekBack));
    EXPECT_FALSE(Child("imPlayer")->isVisibleTo(&Window));
    Bar->EnablePlayControls(true);
    EXPECT_TRUE(Bar->Actions().Run(TKeyCommand::PlayList));
    EXPECT_EQ(CardMenus, 1);
    EXPECT_TRUE(Child("imPlayer")->isVisibleTo(&Window));

    Lesson.SetSpeedTenths(13);
    EXPECT_EQ(Child<QToolButton>("sbSpeed")->text().toStdString(), SpeedText(13));
    Lesson.SetAutoPause(true);
    EXPECT_EQ(Window.findChild<QAction*>("acAutoPause")->toolTip(), "オートポーズ autopause off");

    Bar->LayOut(250);
    QAction* help = OverflowItem("sbOnlineHelp");
    ASSERT_TRUE(help);
    help->trigger();
    EXPECT_EQ(Helps, 1) << "the overflow menu runs what the hidden button runs";
}
