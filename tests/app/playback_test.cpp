#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTextCursor>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "app/help_window.h"
#include "app/card_list.h"
#include "app/main_window.h"
#include "app/open_and_wait.h"
#include "app/text_pane.h"
#include "app/tool_bar.h"
#include "app/tool_bar_widgets.h"
#include "app/resume_notice.h"
#include "codec/cp932_text.h"
#include "timing/positions.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"
#include "support/test_package.h"

using namespace olve;

namespace {

TTestCard Card(const std::string& main, int start, int end, const std::string& data = "", const std::string& sub = "")
{
    return {main, sub, "", data, start, end};
}

class Playback : public testing::Test {
protected:
    TTempFolder Program;
    TTempFolder Packages;
    TRecordingPrompts Prompts;
    std::unique_ptr<TForm1> Form;

    void Open(TTestTitle title)
    {
        QDir::setCurrent(QString::fromStdString(Program.Path().string()));
        Form = std::make_unique<TForm1>(QString::fromStdString(Program / "olveplayer"), QStringList{"NoTie"}, Prompts);
        Form->Player().AudioSink = "fakesink sync=true";
        Form->show();
        title.Pictures.clear();
        ASSERT_TRUE(OpenAndWait(*Form, QString::fromStdString(MakeTestPackage(Packages.Path().string(), title))));
    }
    void TearDown() override
    {
        if (Form)
            Form->close();
    }
    TTestTitle Cards(std::vector<TTestCard> cards, std::vector<std::string> settings = {})
    {
        TTestTitle title;
        title.MediaSeconds = 6;
        title.Cards = std::move(cards);
        title.Settings = std::move(settings);
        return title;
    }
    QColor ColourAt(int byteOffset)
    {
        QTextCursor cursor(Form->TextPane()->MainView()->document());
        cursor.setPosition(Form->TextPane()->MainView()->ViewPosition(byteOffset) + 1);
        return cursor.charFormat().foreground().color();
    }
};

const std::vector<TTestCard> FourCards = {Card("one", 100, 1000), Card("two", 1000, 2000), Card("three", 2000, 3000),
                                          Card("four", 3000, 4000)};

}  // namespace

TEST_F(Playback, BackFromTheFirstCardPlaysFromTheTop)
{
    Open(Cards(FourCards));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }));
    Form->Action("acBack")->trigger();
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "one") << "the top card shows at once";
}

TEST_F(Playback, AutomaticPauseSwitchedOnOffersToSwitchItOff)
{
    Open(Cards(FourCards));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }));
    Form->Action("acAutoPause")->trigger();
    EXPECT_EQ(Form->Action("acAutoPause")->toolTip(), "オートポーズ autopause off");
}

// A play that ended without its sound is not taken as heard: the window says why.
TEST_F(Playback, APlayThatDidNotPlaySaysWhyInBothLanguages)
{
    const std::string damaged = Packages / "damaged.ogg";
    ASSERT_TRUE(MakeOggWithDamagedHeader(damaged, 3));
    TTestTitle title = Cards({Card("one", 100, 1000), Card("two", 1000, 2000)});
    title.Media = "talk.ogg";
    title.MediaSource = damaged;
    Open(title);
    if (Prompts.Said.empty())
        Form->Action("acTop")->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !Prompts.Said.empty(); }, 5000));
    const std::string said = Prompts.Said.back();
    EXPECT_NE(said.find("再生できませんでした"), std::string::npos) << said;
    EXPECT_NE(said.find("not played"), std::string::npos) << said;
}

TEST_F(Playback, CardsSharingOneTextRecolourOnlyTheirRange)
{
    Open(Cards({Card("Hello there world", 100, 1500, "SST=0,SLG=5"), Card("Hello there world", 1500, 3000, "SST=6,SLG=5"),
                Card("Goodbye", 3000, 4000)}));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }));
    const QColor hidden = Form->TextPane()->MainView()->palette().color(QPalette::Base);
    EXPECT_EQ(ColourAt(0), QColor(Qt::black));
    EXPECT_EQ(ColourAt(7), hidden) << "the next card's words are not yet shown";
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000));
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "Hello there world");
    EXPECT_EQ(ColourAt(7), QColor(Qt::black));
    EXPECT_EQ(ColourAt(13), hidden);
}

// A tick on the same card does not look at the text again unless something changed it.
TEST_F(Playback, AMainTextChangedWhileItsCardPlaysShowsAtTheNextTick)
{
    Open(Cards({Card("first words", 100, 5000)}));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }));
    Form->Package().MainCards.SetMainText(0, "other words");
    Form->Lesson().TickNow();
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "other words");
    Form->TextPane()->MainView()->SetDisplayText("shown from elsewhere");
    Form->Lesson().TickNow();
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "other words");
}

TEST_F(Playback, TheProgressBarStaysEmptyWithoutALength)
{
    QDir::setCurrent(QString::fromStdString(Program.Path().string()));
    TForm1 form(QString::fromStdString(Program / "olveplayer"), {"NoTie"}, Prompts);
    form.ToolBar().ShowProgress(5000);
    EXPECT_EQ(form.findChild<TProgressBar*>("imPlayer")->BarWidth(), 0);
}

TEST_F(Playback, TheGridShowsSpeakersAndMemosOnlyWhenThereAreAny)
{
    Open(Cards({Card("First line", 100, 1000, "TAG=Ann"), Card("Second", 1000, 2000)}, {"MonSty=msList"}));
    ASSERT_EQ(Form->DisplayMode(), TDisplayMode::List);
    QTableWidget* grid = Form->CardList().Grid();
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(1, 2)->text(), "Ann");
    EXPECT_EQ(grid->item(1, 1)->text(), "  0:00");
    EXPECT_EQ(grid->columnWidth(2), 2 * grid->columnWidth(1));
    EXPECT_EQ(grid->columnWidth(4), 0);
    Form->close();

    Open(Cards({Card("First line", 100, 1000, "", "memo"), Card("Second", 1500, 2000)}, {"MonSty=msList"}));
    grid = Form->CardList().Grid();
    EXPECT_EQ(grid->columnWidth(2), 0);
    EXPECT_EQ(grid->columnWidth(3), grid->columnWidth(4));
    EXPECT_EQ(grid->item(2, 1)->text(), "  0:02");
}

TEST_F(Playback, MenuLabelsAreCutBeforeATwoByteCharacter)
{
    // 49 bytes of Latin text, then Japanese: byte 50 starts a two-byte character.
    const std::string text = std::string(49, 'a') + "あいうえお";
    Open(Cards({Card(text, 100, 1000), Card("", 1000, 2000, "", "sub only"), Card("", 2000, 3000, "EES=extra"),
                Card("", 3000, 4000)}));
    Form->CardList().PopulateItemList();
    const QList<QAction*> items = Form->CardList().ItemList()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QString::fromStdString("  1  " + std::string(49, 'a') + "･･"));
    EXPECT_EQ(items[1]->text(), "  2  /sub only/");
    EXPECT_EQ(items[2]->text(), "  3  [extra]");
    EXPECT_EQ(items[3]->text(), "  4  ");
}

TEST_F(Playback, TheExactTextOfOwnMaterialShowsInThePaneTheMenuAndTheList)
{
    // Stored as "caf?" and "naive ?", kept exactly in their tags; two cards of one stored text.
    Open(Cards({Card("caf\xC3\xA9", 100, 1500, "UTX=caf%C3%A9"), Card("caf\xC3\xA8", 1500, 3000, "UTX=caf%C3%A8"),
                Card("na\xC3\xAFve \xF0\x9F\x98\x80", 3000, 4000, "UTX=na%C3%AFve%20%F0%9F%98%80")}));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }));
    EXPECT_EQ(Form->TextPane()->MainView()->toPlainText().toStdString(), "caf\xC3\xA9");
    Form->CardList().PopulateItemList();
    const QList<QAction*> items = Form->CardList().ItemList()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[2]->text().toStdString(), "  3  na\xC3\xAFve \xF0\x9F\x98\x80");
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000));
    EXPECT_EQ(Form->TextPane()->MainView()->toPlainText().toStdString(), "caf\xC3\xA8");
}

TEST(HelpWindow, ShowsTheVersionOrUnknown)
{
    TRecordingPrompts prompts;
    TFormHelp help(nullptr, "1.2.3", prompts, {});
    EXPECT_NE(help.AboutText().indexOf("バージョン： 1.2.3"), -1);
    TFormHelp unknown(nullptr, "", prompts, {});
    EXPECT_NE(unknown.AboutText().indexOf("バージョン： 不明"), -1);
    EXPECT_EQ(help.windowTitle(), "利用案内");
}

TEST_F(Playback, SpeedKeysAndTheButtonStepTheSpeedTheButtonShows)
{
    Open(Cards(FourCards));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }));
    auto* button = Form->findChild<QToolButton*>("sbSpeed");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), "1.0×");

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Form->FormKeyDown(Qt::Key_BracketLeft, Qt::NoModifier));
    EXPECT_DOUBLE_EQ(Form->Player().Speed(), 0.7);
    EXPECT_EQ(button->text(), "0.7×");
    EXPECT_TRUE(button->toolTip().contains("0.7×"));
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_BracketRight, Qt::NoModifier));
    EXPECT_DOUBLE_EQ(Form->Player().Speed(), 0.8);
    EXPECT_EQ(button->text(), "0.8×");

    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_Backslash, Qt::NoModifier));
    EXPECT_DOUBLE_EQ(Form->Player().Speed(), 1.0);
    button->click();
    EXPECT_DOUBLE_EQ(Form->Player().Speed(), 1.1);
    EXPECT_EQ(button->toolTip().contains("1.1×"), true);
}

// A card that times its words: texts hidden until heard, and a double-click on a word plays
// the card from that word.
TEST_F(Playback, APracticeCardRevealsOnceHeardAndPlaysFromADoubleClickedWord)
{
    Open(Cards({Card("Good morning sun", 100, 1600, "WTM=0:0;5:500;13:1000", "sub text")}));
    Form->Lesson().SetAutoPause(true);
    TPracticeSettings practice;
    practice.English = TReveal::AfterHearing;
    practice.Japanese = TReveal::Hidden;
    Form->Lesson().SetPractice(practice);
    Form->Lesson().PlayCard(0);
    const QColor hidden = Form->TextPane()->MainView()->palette().color(QPalette::Base);
    EXPECT_EQ(ColourAt(0), hidden);
    EXPECT_EQ(Form->TextPane()->SubView()->DisplayText(), "");
    ASSERT_TRUE(WaitUntil([&] { return Form->Player().Mode() == mpStopped; }, 4000));
    EXPECT_EQ(ColourAt(0), QColor(Qt::black)) << "heard once";
    EXPECT_EQ(ColourAt(13), QColor(Qt::black));
    EXPECT_EQ(Form->TextPane()->SubView()->DisplayText(), "");

    QTextCursor word(Form->TextPane()->MainView()->document());
    word.setPosition(Form->TextPane()->MainView()->ViewPosition(14));
    const QPoint at = Form->TextPane()->MainView()->cursorRect(word).center();
    for (int i = 0; i < 2; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, at, Form->TextPane()->MainView()->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form->TextPane()->MainView()->viewport(), &press);
    }
    EXPECT_EQ(Form->Player().Mode(), mpPlaying);
    EXPECT_GE(Form->Player().Position(), 1100) << "from the word clicked, not the card's start";
}

// Texts shown once heard count only the hearings made while they waited.
TEST_F(Playback, APracticePassStartsFromWhatWasHeardWithTheTextHidden)
{
    Open(Cards(FourCards));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000)) << "the opening play passed card 1";
    TPracticeSettings practice;
    practice.English = TReveal::AfterHearing;
    practice.Loop = true;
    Form->Lesson().SetPractice(practice);
    Form->Lesson().PlayCard(0);
    EXPECT_EQ(ColourAt(0), Form->TextPane()->MainView()->palette().color(QPalette::Base)) << "heard with its text showing";
}

// Closing saves where the learner was and how they practise; the next start offers it back.
TEST_F(Playback, ATitlesProgressAndPreferencesComeBackAfterARestart)
{
    const TTestTitle title = Cards(FourCards);
    Open(title);
    Form->Lesson().PlayCard(2);
    Form->FormKeyDown(Qt::Key_BracketLeft, Qt::NoModifier);
    Form->FormKeyDown(Qt::Key_R, Qt::NoModifier);
    Form->FormKeyDown(Qt::Key_J, Qt::NoModifier);
    Form->FormKeyDown(Qt::Key_A, Qt::NoModifier);
    Form->FormKeyDown(Qt::Key_F2, Qt::NoModifier);
    const TPracticeSettings practice = Form->Lesson().Practice();
    const int fontSize = Form->TextPane()->MainView()->font().pointSize();
    Form->close();
    Form.reset();

    Open(title);
    EXPECT_EQ(Form->Lesson().Practice(), practice);
    EXPECT_TRUE(Form->Lesson().AutoPause());
    EXPECT_EQ(Form->Player().Speed(), 0.9);
    EXPECT_EQ(Form->TextPane()->MainView()->font().pointSize(), fontSize);
    EXPECT_EQ(Form->TextPane()->ResumeNotice()->Card(), 2);
    EXPECT_TRUE(Form->TextPane()->ResumeNotice()->isVisible());
    EXPECT_EQ(Form->Lesson().CurrentCard(), 0) << "the first play still starts at the top";
    Form->FormKeyDown(Qt::Key_G, Qt::NoModifier);
    EXPECT_EQ(Form->Lesson().CurrentCard(), 2);
    EXPECT_FALSE(Form->TextPane()->ResumeNotice()->isVisible());
}

// Playing from the top of a lesson whose first card starts after some silence: no underline
// stays from the card before under the hidden text.
TEST_F(Playback, TheTopLeavesNoUnderlineUnderTheHiddenText)
{
    Open(Cards(FourCards, {"UlnShw=On"}));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000));
    ASSERT_FALSE(Form->TextPane()->MainView()->Bars().empty());
    TPlayCardItem whole;
    whole.StartPos = MakePackedPosition(1, 0, 0, 0);
    whole.EndPos = MakePackedPosition(1, 0, 0, 6000);
    whole.TimeFormat = otfTrackMilliseconds;
    Form->Package().VcdCards.AddRec(whole);
    Form->FormKeyDown(Qt::Key_T, Qt::NoModifier);
    Form->TextPane()->MainView()->UpdateUnderline();
    EXPECT_TRUE(Form->TextPane()->MainView()->Bars().empty());
}

TEST_F(Playback, OfOverlappingCardsTheFirstIsCurrentInTheListToo)
{
    Open(Cards({Card("Whole sentence", 100, 3000), Card("Part", 100, 2000)}, {"MonSty=msList"}));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() >= 0; }));
    Form->Lesson().TickNow();
    EXPECT_EQ(Form->CardList().Grid()->currentRow(), 1) << "the row of the first card";
}

TEST_F(Playback, TheCardMenuExportsTheCurrentCardForFlashcards)
{
    Open(Cards(FourCards));
    Form->Lesson().PlayCard(1);
    QAction* exporting = Form->Action("acExportCard");
    ASSERT_NE(exporting, nullptr);
    EXPECT_TRUE(exporting->isEnabled());
    ASSERT_TRUE(Form->CardList().ExportCard(1, QString::fromStdString(Packages.Path().string())));
    ASSERT_TRUE(Form->CardList().ExportCard(2, QString::fromStdString(Packages.Path().string())));
    EXPECT_TRUE(std::filesystem::file_size(Packages / "Test_Lesson-002.ogg") > 0);
    std::ifstream tsv(Packages / "cards.tsv");
    std::stringstream lines;
    lines << tsv.rdbuf();
    EXPECT_EQ(lines.str(), "two\t\t[sound:Test_Lesson-002.ogg]\t\tTest_Lesson_002\n"
                           "three\t\t[sound:Test_Lesson-003.ogg]\t\tTest_Lesson_003\n");
}

// A hostile title exported from the card menu: its picture names reach no file outside its
// own folder and no file of the learner's in the export folder.
TEST_F(Playback, TheCardMenuExportReadsOnlyTheTitlesPicturesAndReplacesNothing)
{
    std::ofstream(Packages / "secret.png") << "the learner's secret";
    TTestTitle title = Cards({Card("one", 100, 1000), Card("two", 1000, 2000), Card("three", 2000, 3000)});
    title.Cards[0].Picture = Packages / "secret.png";
    title.Cards[1].Picture = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\.." + Packages / "secret.png";
    title.Cards[2].Picture = ".bashrc";
    title.ExtraFiles = {"titles/K/K100/pic/.bashrc"};
    Open(title);
    const std::size_t said = Prompts.Said.size();
    const std::filesystem::path folder = Packages.Path() / "export";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / ".bashrc") << "the learner's own";
    for (int card = 0; card < 3; ++card)
        EXPECT_TRUE(Form->CardList().ExportCard(card, QString::fromStdString(folder.string())));
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_EQ(text.str().find("secret"), std::string::npos) << entry.path();
    }
    std::ifstream own(folder / ".bashrc");
    std::stringstream kept;
    kept << own.rdbuf();
    EXPECT_EQ(kept.str(), "the learner's own");
    ASSERT_EQ(Prompts.Said.size(), said + 3);
    EXPECT_NE(Prompts.Said[said].find("secret.png is not in the title's folder"), std::string::npos) << Prompts.Said[said];
    EXPECT_NE(Prompts.Said[said + 2].find("it is not a picture the player shows"), std::string::npos)
        << Prompts.Said[said + 2];
}
