#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QScreen>
#include <QScrollBar>
#include <memory>

#include "app/card_text_wrap.h"
#include "app/main_window.h"
#include "app/open_and_wait.h"
#include "app/text_pane.h"
#include "app/pane_divider.h"
#include "app/tool_bar_widgets.h"
#include "codec/data_file.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_package.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

const std::string TwoLines = "きょうはとても良い天気なので、公園まで歩いて行き、友だちとお弁当を食べました。";

class SeekAndPanes : public testing::Test {
protected:
    TTempFolder Program;
    TTempFolder Packages;
    TRecordingPrompts Prompts;
    std::unique_ptr<TForm1> Form;

    void SetUp() override { QDir::setCurrent(QString::fromStdString(Program.Path().string())); }
    void TearDown() override
    {
        if (Form)
            Form->close();
    }
    void Open(std::vector<TTestCard> cards)
    {
        Form = std::make_unique<TForm1>(QString::fromStdString(Program / "olveplayer"), QStringList{"NoTie"}, Prompts);
        Form->Player().AudioSink = "fakesink sync=true";
        Form->show();
        TTestTitle title;
        title.MediaSeconds = 6;
        title.Cards = std::move(cards);
        ASSERT_TRUE(OpenAndWait(*Form, QString::fromStdString(MakeTestPackage(Packages.Path().string(), title))));
    }
    void Press(QWidget* widget, QEvent::Type type, QPoint at)
    {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    QString Label(const char* name) { return Form->findChild<QLabel*>(name)->text(); }
    // The Japanese pane shows its whole text once the queued layout has run.
    bool SubTextWhole()
    {
        return WaitUntil([&] { return Form->TextPane()->SubView()->verticalScrollBar()->maximum() == 0; }, 2000);
    }
};

}  // namespace

// A click on the bar shows the card there at once, with its number and time; so does a drag
// while stopped. The arrow keys seek from there.
TEST_F(SeekAndPanes, TheProgressBarAndTheArrowKeysSeek)
{
    Open({{"Good morning sun", "", "", "WTM=0:0;5:500;13:1000", 100, 1600}, {"two", "", "", "", 1600, 3000},
          {"three", "", "", "", 3000, 4000}});
    Form->Lesson().SetAutoPause(true);
    ASSERT_TRUE(WaitUntil([&] { return Form->Player().Mode() == mpPlaying; }));
    auto* bar = Form->findChild<TProgressBar*>("imPlayer");
    const int length = Form->Player().Length();
    Press(bar, QEvent::MouseButtonPress, {2500 * bar->width() / length, bar->height() / 2});
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "two");
    EXPECT_EQ(Label("lbCounter"), "2 / 3");
    EXPECT_TRUE(Label("lbTime").startsWith("0:02 / 0:0")) << Label("lbTime").toStdString();

    Form->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
    Press(bar, QEvent::MouseMove, {3500 * bar->width() / length, 0});
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "three") << "a drag while stopped shows the card";
    EXPECT_EQ(Label("lbCounter"), "3 / 3");
    Form->FormKeyDown(Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(Label("lbTime").left(4), "0:01") << "back, not on";
}

TEST_F(SeekAndPanes, TheJapanesePaneFitsItsTextAndTheDividerIsKeptPerLayout)
{
    Open({{"one", TwoLines, "", "", 100, 3000}});
    ASSERT_TRUE(Form->TextPane()->SubView()->isVisible());
    EXPECT_TRUE(SubTextWhole()) << "height " << Form->TextPane()->SubView()->height();
    EXPECT_GT(Form->TextPane()->SubView()->height(), 64);

    auto* divider = Form->findChild<TPaneDivider*>("pnDivider");
    const int pane = Form->TextPane()->height();
    Press(divider, QEvent::MouseMove, divider->mapFromParent(QPoint(0, pane - 200)));
    const int dragged = Form->TextPane()->SubView()->height();
    EXPECT_NEAR(dragged, 200, 4);
    EXPECT_EQ(Form->TextPane()->MainView()->geometry().bottom() + 1, divider->y());
    Form->close();
    Form.reset();

    Open({{"one", "短い", "", "", 100, 3000}});
    EXPECT_EQ(Form->TextPane()->SubView()->height(), dragged) << "kept across a restart";
    Form->close();
    Form.reset();
    {
        TDataFile settings(Program / "olveplayer.dat");
        settings.WriteString("System", "SubHeight", "tall");
        settings.Close();
    }
    Open({{"one", "短い", "", "", 100, 3000}});
    EXPECT_EQ(Form->TextPane()->SubView()->height(), 64) << "a bad value falls back to the default";
}

TEST_F(SeekAndPanes, TheEnglishTextGrowsWithTheWindowAndStillSteps)
{
    Open({{"one", "", "", "", 100, 3000}});
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    Form->resize(512, 512);
    EXPECT_EQ(Form->TextPane()->MainView()->font().pointSize(), 14);
    Form->resize(screen.width(), screen.height());
    const int large = Form->TextPane()->MainView()->font().pointSize();
    EXPECT_GT(large, 14);
    Form->FormKeyDown(Qt::Key_F1, Qt::NoModifier);
    EXPECT_LT(Form->TextPane()->MainView()->font().pointSize(), large);
    Form->resize(512, 512);
    EXPECT_EQ(Form->TextPane()->MainView()->font().pointSize(), 12) << "the learner's step stays";
}

// A title without pictures opens wide enough for the whole tool bar; a narrower window moves
// controls into the overflow menu, where they still work, and nothing overlaps or is cut.
TEST_F(SeekAndPanes, TheToolBarShowsEveryControlOrMovesItToTheOverflowMenu)
{
    Open({{"one", "", "", "", 100, 3000}});
    QWidget* bar = Form->findChild<QWidget*>("pnToolBar");
    QToolButton* overflow = Form->findChild<QToolButton*>("sbOverflow");
    QMenu* more = Form->findChild<QMenu*>("pmOverflow");
    ASSERT_TRUE(bar && overflow && more);
    const QStringList movable = {"sbPause", "sbAutoPause", "Image3", "sbSpeed", "sbRepeat", "sbShadow",
                                 "sbRevealEnglish", "sbRevealJapanese", "sbLoop", "sbOpen", "sbOnlineHelp"};
    auto expectUncut = [&](int width) {
        QList<QWidget*> shown;
        for (QWidget* child : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible() && !qobject_cast<TToolBarBackground*>(child) && !child->objectName().startsWith("lbPAT") &&
                child->height() > 1)
                shown << child;
        for (QWidget* a : shown) {
            EXPECT_TRUE(bar->rect().contains(a->geometry())) << width << " " << a->objectName().toStdString();
            for (QWidget* b : shown)
                EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                    << width << " " << a->objectName().toStdString() << " " << b->objectName().toStdString();
        }
    };
    ASSERT_TRUE(WaitUntil([&] { return Form->findChild<QLabel*>("lbTime")->isVisible(); }, 2000));
    EXPECT_LE(Form->width(), QApplication::primaryScreen()->availableGeometry().width());
    for (const QString& name : movable + QStringList{"lbCounter", "lbTime"})
        EXPECT_TRUE(Form->findChild<QWidget*>(name)->isVisible()) << name.toStdString();
    EXPECT_GE(Form->findChild<TProgressBar*>()->width(), 100);
    EXPECT_FALSE(overflow->isVisible());
    expectUncut(Form->width());

    for (int width : {512, 420, 250}) {
        Form->resize(width, 400);
        EXPECT_TRUE(overflow->isVisible());
        expectUncut(width);
        more->aboutToShow();
        int moved = 0;
        for (const QString& name : movable)
            moved += Form->findChild<QWidget*>(name)->isHidden();
        EXPECT_EQ(more->actions().size(), moved) << width;
    }
    EXPECT_EQ(more->actions().size(), movable.size()) << "all of them at the narrowest";
    for (QAction* item : more->actions())
        if (item->data().toString() == "sbLoop")
            item->trigger();
    EXPECT_TRUE(Form->Lesson().Practice().Loop);
}

TEST(CardTextWrap, NoLineStartsWithClosingPunctuation)
{
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(16);
    const QString text = QString::fromStdString("あいうえお。かきくけこ、さしすせそ");
    const int width = QFontMetrics(font).horizontalAdvance(QString::fromStdString("あいうえお")) + 1;
    const QStringList lines = WrapCardText(text, font, width);
    ASSERT_GE(lines.size(), 3);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.startsWith(QString::fromStdString("。")) || line.startsWith(QString::fromStdString("、")))
            << line.toStdString();
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), width) << line.toStdString();
    }
    EXPECT_EQ(lines.join(""), text);
    EXPECT_EQ(WrapCardText("one\r\n\rtwo", font, width), QStringList({"one", "", "two"})) << "an empty line kept once";
}
