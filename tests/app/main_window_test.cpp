#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/card_list.h"
#include "app/main_window.h"
#include "app/open_and_wait.h"
#include "lesson/opening_queue.h"
#include "app/picture_pane.h"
#include "app/text_pane.h"
#include "codec/compress_string_list.h"
#include "codec/cp932_text.h"
#include "codec/data_file.h"
#include "support/file_size_limit.h"
#include "support/recording_prompts.h"
#include "support/stalled_fifo.h"
#include "support/test_media.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "support/test_package.h"
#include "title/card_text_bound.h"
#include "title/pane_fit.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// A program folder of its own with a main window in it.
class MainWindow : public testing::Test {
protected:
    TTempFolder Program;
    TTempFolder Packages;
    TRecordingPrompts Prompts;
    std::unique_ptr<TForm1> Form;

    void Create(const QStringList& arguments = {"NoTie"})
    {
        Form = std::make_unique<TForm1>(QString::fromStdString(Program / "olveplayer"), arguments, Prompts);
        Form->Player().AudioSink = "fakesink sync=true";
    }
    void SetUp() override { QDir::setCurrent(QString::fromStdString(Program.Path().string())); }
    void TearDown() override
    {
        if (Form)
            Form->close();
        Form.reset();
    }
    QString Package(const TTestTitle& title) { return QString::fromStdString(MakeTestPackage(Packages.Path().string(), title)); }
    std::string Setting(const char* section, const char* key)
    {
        TDataFile file(Program / "olveplayer.dat");
        return file.ReadString(section, key, "<none>");
    }
    bool Installed(const std::string& relative) const { return fs::exists(Program.Path() / relative); }
    // The window is ready for hand-overs and has ended what it opened on its own.
    bool WaitStarted()
    {
        return WaitUntil([&] { return Form->LinkBox()->text().isEmpty() && !Form->Openings().Opening(); });
    }
    bool WaitOpened() { return WaitUntil([&] { return !Form->Openings().Opening(); }); }
};

}  // namespace

TEST_F(MainWindow, TheCommandLineNamesTheLastPackageAndNoTieSkipsRegistration)
{
    Create({"/x/a.qzw", "notie", "/x/b.QZW", "notes.txt"});
    EXPECT_EQ(Form->StartPackage(), "/x/b.QZW");
    EXPECT_FALSE(Form->FileTypeRegistered());
    Form.reset();

    TTempFolder data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.Path().string()));
    Create({"/x/a.qzw"});
    qunsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(Form->FileTypeRegistered());
    EXPECT_TRUE(fs::exists(data.Path() / "mime" / "packages"));
}

TEST_F(MainWindow, BoundsFromADamagedSettingsFileStayWithinTheDesktop)
{
    {
        TDataFile settings(Program / "olveplayer.dat");
        settings.WriteInteger("System", "Width", 100000);
        settings.WriteInteger("System", "Height", -40);
        settings.WriteInteger("System", "Left", -30);
        settings.Close();
    }
    Create();
    const QSize desktop = QApplication::primaryScreen()->virtualSize();
    EXPECT_EQ(Form->width(), desktop.width());
    EXPECT_GT(Form->height(), 0);
    // Moved wholly onto the screen rather than left hanging off its edge.
    EXPECT_EQ(Form->x(), QApplication::primaryScreen()->availableGeometry().left());
    EXPECT_TRUE(QApplication::primaryScreen()->availableGeometry().contains(Form->geometry()));
}

TEST_F(MainWindow, BoundsAreStoredPerModeButNotWhenMaximised)
{
    {
        TDataFile settings(Program / "olveplayer.dat");
        settings.WriteString("System", "Width", "wide");
        settings.WriteInteger("System", "Height", 300);
        settings.Close();
    }
    Create();
    const int defaultWidth = Form->width();
    EXPECT_GT(defaultWidth, 512) << "the default fits the whole tool bar";
    EXPECT_EQ(Form->height(), 300);
    Form->show();
    Form->SetDisplayMode(TDisplayMode::System);
    Form->SetDisplayMode(TDisplayMode::Subtitles);
    EXPECT_EQ(Setting("System", "Width"), std::to_string(defaultWidth));
    EXPECT_EQ(Setting("Subtitles", "Width"), "<none>");
    Form->close();
    EXPECT_NE(Setting("Subtitles", "Width"), "<none>");

    Form.reset();
    fs::remove(Program / "olveplayer.dat");
    Create();
    Form->showMaximized();
    WaitUntil([&] { return Form->isMaximized(); }, 2000);
    if (Form->isMaximized()) {
        Form->close();
        EXPECT_EQ(Setting("System", "Left"), "<none>");
    }
}

TEST_F(MainWindow, TheDisplayModeFollowsTheMediaPicturesAndSettings)
{
    struct TCase {
        std::string Media;
        bool Pictures;
        std::vector<std::string> Settings;
        TDisplayMode Mode;
    };
    const std::vector<TCase> cases = {
        {"tone.wav", false, {}, TDisplayMode::System},
        {"tone.wav", false, {"MonSty=msList"}, TDisplayMode::List},
        {"tone.wav", true, {"ImgAln=alBottom"}, TDisplayMode::PictureCard},
        {"tone.wav", true, {"ImgAln=alLeft"}, TDisplayMode::PictureBook},
        {"tone.wav", true, {"MonSty=msList"}, TDisplayMode::ListPic},
        {"clip.avi", false, {"MonSty=msList"}, TDisplayMode::ListPic},
        {"clip.avi", false, {}, TDisplayMode::Subtitles},
    };
    Create();
    Form->show();
    int serial = 300;
    for (const TCase& c : cases) {
        TTestTitle title = ThreeCardTitle();
        title.Serial = "K" + std::to_string(serial++);
        title.Media = c.Media;
        title.MediaSeconds = 4;
        title.Settings = c.Settings;
        if (!c.Pictures)
            title.Pictures.clear();
        ASSERT_TRUE(OpenAndWait(*Form, Package(title))) << title.Serial;
        EXPECT_EQ(Form->DisplayMode(), c.Mode) << c.Media << " " << (c.Settings.empty() ? "" : c.Settings[0]);
        EXPECT_EQ(Form->windowTitle(), "Test Lesson - Player Olve / Rindale");
    }
    EXPECT_EQ(Form->PicturePane()->VideoSize(), QSize(320, 240));
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

// Closing the window removes what the open package installed, and nothing else.
TEST_F(MainWindow, ClosingRemovesTheFilesOfTheOpenPackage)
{
    Create();
    Form->show();
    ASSERT_TRUE(OpenAndWait(*Form, Package(ThreeCardTitle())));
    ASSERT_TRUE(Installed("vcd/K100/tone.wav"));
    ASSERT_TRUE(Installed("lesson.qzc"));
    Form->close();
    EXPECT_FALSE(Installed("vcd/K100"));
    EXPECT_FALSE(Installed("lesson.qzc"));
    EXPECT_TRUE(Installed("olveplayer.dat"));
    EXPECT_TRUE(fs::exists(Program.Path()));
}

TEST_F(MainWindow, AMissingRecordingIsReportedWithTheSerialItWasLookedForBy)
{
    Create();
    TTestTitle title = ThreeCardTitle();
    title.WithVirtualCD = false;
    EXPECT_FALSE(OpenAndWait(*Form, Package(title)));
    ASSERT_EQ(Prompts.Said.size(), 1u);
    EXPECT_NE(Prompts.Said[0].find("VolSerialNum=K100"), std::string::npos) << Prompts.Said[0];
    EXPECT_EQ(Form->Player().DeviceID(), 0);
}

// The start package opens once: what keeps it from opening is told once.
TEST_F(MainWindow, TheStartPackageWithoutItsRecordingIsReportedOnce)
{
    fs::create_directories(Program.Path() / "vcd/K100");
    {
        TDataFile ini(Program / "vcd/K100/vcd.ini");
        ini.Add("code=K100");
        ini.Add("[files]");
        ini.Add("file=vcd\\K100\\tone.wav");
        ini.Close();
    }
    TTestTitle title = ThreeCardTitle();
    title.WithVirtualCD = false;
    Create({Package(title), "NoTie"});
    Form->show();
    ASSERT_TRUE(WaitStarted());
    ASSERT_EQ(Prompts.Said.size(), 1u);
    EXPECT_NE(Prompts.Said[0].find(Program / "vcd/K100/tone.wav"), std::string::npos) << Prompts.Said[0];
    EXPECT_EQ(Form->windowTitle(), "Player Olve / Rindale");
}

TEST_F(MainWindow, APackageThatDoesNotExistIsReportedHoweverItComes)
{
    const std::string missing = Packages / "gone.qzw";
    const std::string told = "ファイルが見つかりません\r\n\r\nfile not exist\r\n\r\n< " + missing + " >";
    Create({QString::fromStdString(missing), "NoTie"});
    Form->show();
    ASSERT_TRUE(WaitStarted());
    EXPECT_EQ(Prompts.Said, std::vector<std::string>{told}) << "the start package";
    Form->LinkBox()->HandOver(QString::fromStdString(missing));
    ASSERT_TRUE(WaitUntil([&] { return Prompts.Said.size() == 2; }));
    EXPECT_EQ(Prompts.Said[1], told) << "handed over";
    Form->DropFiles({QString::fromStdString(missing)});
    ASSERT_EQ(Prompts.Said.size(), 3u);
    EXPECT_EQ(Prompts.Said[2], told) << "dropped";
}

TEST_F(MainWindow, OnlyASingleDroppedPackageIsOpened)
{
    Create();
    Form->show();
    const QString a = Package(ThreeCardTitle());
    Form->DropFiles({a, a});
    ASSERT_EQ(Prompts.Said.size(), 1u);
    EXPECT_EQ(Prompts.Said[0], "この拡張子 <.qzw> のファイルには対応していません\r\n\r\nfiles of the extension <.qzw> cannot be opened");
    Form->DropFiles({QString::fromStdString(Packages / "notes.txt")});
    EXPECT_EQ(Prompts.Said.back(), "この拡張子 <.txt> のファイルには対応していません\r\n\r\nfiles of the extension <.txt> cannot be opened");
    EXPECT_EQ(Form->windowTitle(), "Player Olve / Rindale");

    Form->DropFiles({QString::fromStdString(Packages / "notes.txt"), a});
    ASSERT_TRUE(WaitOpened());
    EXPECT_EQ(Form->windowTitle(), "Test Lesson - Player Olve / Rindale");
    EXPECT_EQ(Prompts.Said.size(), 2u);
}

TEST_F(MainWindow, PlaysFromTheTopAndFollowsTheCards)
{
    Create();
    Form->show();
    ASSERT_TRUE(OpenAndWait(*Form, Package(ThreeCardTitle())));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }, 3000));
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "Good morning, everyone.");
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000));
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "How are you today?");
    EXPECT_EQ(Form->PicturePane()->Picture()->FileName().toStdString(), Program / "titles/K/K100/pic/p2.png");
    EXPECT_TRUE(Form->TextPane()->SubView()->isVisible());
}

// Each way a key takes: through a play action, to a pane, or left to others.
TEST_F(MainWindow, KeysDriveThePlayerThroughItsActions)
{
    Create();
    Form->show();
    ASSERT_TRUE(OpenAndWait(*Form, Package(ThreeCardTitle())));
    ASSERT_TRUE(WaitUntil([&] { return Form->Player().Mode() == mpPlaying; }, 1000));
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_Space, Qt::NoModifier));
    EXPECT_EQ(Form->Player().Mode(), mpPaused);
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_A, Qt::NoModifier));
    EXPECT_TRUE(Form->Lesson().AutoPause());
    EXPECT_FALSE(Form->FormKeyDown(Qt::Key_Q, Qt::NoModifier));
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_X, Qt::ShiftModifier));
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_Z, Qt::NoModifier));
    EXPECT_EQ(Form->Lesson().CardShiftMs(), 950);
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(Form->Lesson().CardShiftMs(), 1000) << "Ctrl+Z takes back the last step";
    // The sync key reads the recording on a worker and says what it found, in both languages.
    EXPECT_TRUE(Form->FormKeyDown(Qt::Key_Y, Qt::NoModifier));
    ASSERT_TRUE(WaitUntil([&] { return !Prompts.Said.empty(); }, 30000));
    const std::string& said = Prompts.Said.back();
    EXPECT_TRUE(said.find("Subtitle times: ") != std::string::npos || said.find("could not be synced") != std::string::npos)
        << said;

    const int size = Form->TextPane()->MainView()->font().pointSize();
    Form->FormKeyDown(Qt::Key_F2, Qt::NoModifier);
    EXPECT_EQ(Form->TextPane()->MainView()->font().pointSize(), NextFontSize(size, true));

    // Opened again, the title's cards lie where the learner left them.
    const TCardTiming timing = Form->Lesson().SavedProgress().Timing;
    const std::int64_t firstStart = Form->Lesson().Timeline().StartOf(0);
    ASSERT_TRUE(OpenAndWait(*Form, Package(ThreeCardTitle())));
    EXPECT_EQ(Form->Lesson().SavedProgress().Timing, timing);
    EXPECT_EQ(Form->Lesson().Timeline().StartOf(0), firstStart);
}

TEST_F(MainWindow, PastTheLastCardANoticeInTheWindowFadesByItself)
{
    Create();
    Form->show();
    ASSERT_TRUE(OpenAndWait(*Form, Package(ThreeCardTitle())));
    Form->Lesson().PlayCard(3);
    auto* notice = Form->findChild<QLabel*>("NoMoreCards");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(), "つぎはありません");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isWindow()) << "inside the window, not a box of its own";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Form->rect().contains(notice->geometry()));
    EXPECT_TRUE(WaitUntil([&] { return !notice->isVisible(); }, 4000));

    // Again past the end: the same notice shows afresh.
    Form->Lesson().PlayCard(3);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(Form->findChildren<QLabel*>("NoMoreCards").size(), 1);
}

TEST_F(MainWindow, ThePinpointMenuGroupsLongTitles)
{
    Create();
    auto menuFor = [&](int cards) {
        TTestTitle title;
        title.Serial = "M" + std::to_string(cards);
        title.MediaSeconds = 1;
        for (int i = 0; i < cards; ++i)
            title.Cards.push_back({"Card " + std::to_string(i + 1), "", "", "", i * 10, i * 10 + 10});
        EXPECT_TRUE(OpenAndWait(*Form, Package(title)));
        Form->CardList().PopulateItemList();
        return Form->CardList().ItemList()->actions();
    };
    EXPECT_EQ(menuFor(32).size(), 32);
    const auto two = menuFor(33);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1]->text(), " 33 ～  33");
    EXPECT_EQ(two[0]->menu()->actions()[0]->text(), "  1  Card 1");
    const auto many = menuFor(5000);
    EXPECT_EQ(many.size(), 128);
    EXPECT_EQ(many.back()->text(), "4065 ～ 4096");
    EXPECT_TRUE(many[32]->property("barBreak").toBool());
}

TEST_F(MainWindow, ThePinpointMenuShowsACardOnOneLineAndOpensAtTheCurrentCard)
{
    Create();
    Form->show();
    auto open = [&](int cards, int current) {
        TTestTitle title;
        title.Serial = "L" + std::to_string(cards);
        title.MediaSeconds = 2;
        for (int i = 0; i < cards; ++i)
            title.Cards.push_back({"Card " + std::to_string(i + 1) + "||next line", "", "", "", i * 10, i * 10 + 10});
        ASSERT_TRUE(OpenAndWait(*Form, Package(title)));
        Form->Lesson().PlayCard(current);
        ASSERT_EQ(Form->Lesson().CurrentCard(), current);
        Form->CardList().ItemList()->popup(QPoint(0, 0));
    };
    open(3, 1);
    QAction* active = Form->CardList().ItemList()->activeAction();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->text(), "  2  Card 2 next line");
    Form->CardList().ItemList()->hide();

    open(40, 34);
    active = Form->CardList().ItemList()->activeAction();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->text(), " 33 ～  40");
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(Form->CardList().ItemList(), &right);
    QApplication::processEvents();
    ASSERT_TRUE(active->menu()->isVisible());
    ASSERT_NE(active->menu()->activeAction(), nullptr);
    EXPECT_EQ(active->menu()->activeAction()->data().toInt(), 34);
    Form->CardList().ItemList()->hide();
}

// The Open dialog starts at home, then where the learner chose a file last, in this window
// and the next.
TEST_F(MainWindow, TheOpenDialogStartsWhereTheLastFileWasChosen)
{
    TTempFolder home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home.Path().string()));
    QString shownAt;
    auto answer = [&](const QString& choose) {
        QTimer::singleShot(0, [&shownAt, choose] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownAt = dialog->directory().absolutePath();
            if (choose.isEmpty())
                return dialog->reject();
            dialog->selectFile(choose);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    TTestTitle title;
    title.Cards.push_back({"one", "", "", "", 0, 500});
    const QString package = Package(title);
    Create();
    Form->show();
    answer(package);
    Form->ShowOpenDialog();
    ASSERT_TRUE(WaitOpened());
    EXPECT_EQ(shownAt, QString::fromStdString(home.Path().string()));
    EXPECT_EQ(Form->TitleName(), "Test Lesson");
    Form.reset();

    Create();
    answer({});
    Form->ShowOpenDialog();
    qputenv("HOME", oldHome);
    EXPECT_EQ(shownAt, QFileInfo(package).absolutePath());
}

// Notes whether the window was exposed when the first message came.
struct TExposurePrompts : TRecordingPrompts {
    QWidget* Window = nullptr;
    bool ExposedAtFirstMessage = false;
    void Message(const std::string& text) override
    {
        if (Said.empty())
            ExposedAtFirstMessage = Window->windowHandle() && Window->windowHandle()->isExposed();
        TRecordingPrompts::Message(text);
    }
};

TEST_F(MainWindow, TheWindowIsOnScreenBeforeTheStartPackageInstalls)
{
    const std::string damaged = Packages / "damaged.qzw";
    std::ofstream(damaged) << "not a package";
    TExposurePrompts prompts;
    TForm1 form(QString::fromStdString(Program / "olveplayer"), {QString::fromStdString(damaged), "NoTie"}, prompts);
    prompts.Window = &form;
    form.show();
    ASSERT_TRUE(WaitUntil([&] { return !prompts.Said.empty(); }));
    EXPECT_TRUE(prompts.ExposedAtFirstMessage);
}

TEST_F(MainWindow, AHandOverAfterTheFirstActivationOpensThePackage)
{
    Create();
    Form->show();
    ASSERT_TRUE(WaitStarted());
    const QString package = Package(ThreeCardTitle());
    Form->LinkBox()->HandOver(package);
    WaitUntil([&] { return Form->windowTitle().contains(" - "); });
    EXPECT_EQ(Form->windowTitle(), "Test Lesson - Player Olve / Rindale");
}

TEST_F(MainWindow, FoldersPackedInOtherLetterCaseStillGiveTheRecordingAndPictures)
{
    Create();
    Form->show();
    fs::create_directories(Program.Path() / "vcd");
    TTestTitle title = ThreeCardTitle();
    title.CapitalFolders = true;
    ASSERT_TRUE(OpenAndWait(*Form, Package(title)));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 1; }, 3000));
    EXPECT_EQ(Form->PicturePane()->Picture()->FileName().toStdString(), Program / "TITLES/K/K100/PIC/p2.png");
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

// A title code names the title's folder below "titles"; one that would lead elsewhere gives
// the title no folder, so nothing of it is looked for outside "titles".
TEST_F(MainWindow, ATitleCodeThatLeavesTheTitlesFolderGivesNoTitleFolder)
{
    Create();
    Form->show();
    fs::create_directories(Program.Path() / "vcd" / "x");
    ASSERT_TRUE(MakeWav(Program / "vcd/x/tone.wav", 3));
    {
        TDataFile ini(Program / "vcd/x/vcd.ini");
        ini.Add("code=../outside");
        ini.Add("[files]");
        ini.Add("file=vcd\\x\\tone.wav");
        ini.Close();
        TCompressStringList title;
        for (const char* line : {"TimeFormat=TMilliseconds", "VolSerialNum=../outside", "1,0,0,100,1,0,2,0,Hello,,p1.png,"})
            title.Add(line);
        ASSERT_EQ(title.SaveToFile(Program / "lesson.qzc"), 0);
    }
    // Where "titles/../outside/pic" leads.
    fs::create_directories(Program.Path() / "titles");
    fs::create_directories(Program.Path() / "outside" / "pic");
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(Program / "outside/pic/p1.png")));

    ASSERT_TRUE(Form->OpenTitle(QString::fromStdString(Program / "lesson.qzc")));
    EXPECT_EQ(Form->TitleFolder().toStdString(), "/");
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }, 3000));
    EXPECT_EQ(Form->TextPane()->MainView()->DisplayText(), "Hello");
    EXPECT_TRUE(Form->PicturePane()->Picture()->FileName().isEmpty()) << Form->PicturePane()->Picture()->FileName().toStdString();
    EXPECT_TRUE(Prompts.Said.empty()) << Prompts.Said.front();
}

TEST_F(MainWindow, TheStartPackageInstallsOnceAfterTheWindowShows)
{
    TTestTitle title = ThreeCardTitle();
    // Never written over the settings file: each installation says so once.
    title.ExtraFiles = {"olveplayer.dat"};
    Create({Package(title), "NoTie"});
    Form->show();
    EXPECT_FALSE(Installed("lesson.qzc"));
    ASSERT_TRUE(WaitStarted());
    EXPECT_TRUE(Installed("lesson.qzc"));
    EXPECT_EQ(Form->windowTitle(), "Test Lesson - Player Olve / Rindale");
    // Shown again, as the layout does, the window starts nothing.
    Form->hide();
    Form->show();
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(Prompts.Said.size(), 1u) << "installed again";
}

TEST_F(MainWindow, AFailedWriteIsReportedWithTheFileAndItsReason)
{
    Create();
    Form->show();
    const QString package = Package(ThreeCardTitle());
    ASSERT_TRUE(OpenAndWait(*Form, package));
    const std::string recording = Program / "vcd/K100/tone.wav";
    {
        TFileSizeLimit limit(4096);
        OpenAndWait(*Form, package);
    }
    ASSERT_FALSE(Prompts.Said.empty());
    EXPECT_EQ(Prompts.Said[0].rfind("ファイルの書き込みに失敗しました", 0), 0u) << Prompts.Said[0];
    EXPECT_NE(Prompts.Said[0].find(recording + ": " + std::strerror(EFBIG)), std::string::npos) << Prompts.Said[0];
}

TEST_F(MainWindow, ClosingWhileAPackageInstallsStopsItAndRemovesWhatItWrote)
{
    Create();
    Form->show();
    // A recording long enough that the close mostly lands while it is being written.
    TTestTitle title = ThreeCardTitle();
    title.MediaSeconds = 240;
    const QString package = Package(title);
    // Closed while the installation runs on its own thread: it stops at its next entry or
    // chunk (or has just ended), the title does not open, and the window closes once the
    // installation has returned; what it wrote goes with the window.
    bool opened = false;
    QObject::connect(Form.get(), &TForm1::PackageOpened, [&](const QString&, bool shown) { opened = opened || shown; });
    ASSERT_TRUE(Form->OpenTitlePackage(package));
    Form->close();
    EXPECT_TRUE(Form->isVisible()) << "the window waits for the installation under way";
    ASSERT_TRUE(WaitUntil([&] { return !Form->isVisible(); }, 60000));
    EXPECT_FALSE(opened);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(Installed("lesson.qzc"));
    EXPECT_FALSE(Installed("vcd"));
    EXPECT_TRUE(Installed("olveplayer.dat"));
    EXPECT_EQ(Form->windowTitle(), "Player Olve / Rindale");
    // Nothing opens after that.
    EXPECT_FALSE(Form->OpenTitlePackage(package));
    EXPECT_FALSE(Installed("lesson.qzc"));
}


// A card line of ten megabytes without a space held the window for over twenty minutes.
TEST_F(MainWindow, ATitleWithAHugeUnbrokenCardOpensInSeconds)
{
    TTestTitle title = ThreeCardTitle();
    title.Cards[0].Main = std::string(10 * 1024 * 1024, 'x');
    title.Cards[0].Sub = std::string(2 * 1024 * 1024, 'y');
    const QString package = Package(title);
    Create();
    Form->show();
    QElapsedTimer opening;
    opening.start();
    ASSERT_TRUE(OpenAndWait(*Form, package));
    ASSERT_TRUE(WaitUntil([&] { return Form->Lesson().CurrentCard() == 0; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_LT(opening.elapsed(), 10000);
    EXPECT_LE(Form->TextPane()->MainView()->DisplayText().size(), CardTextBoundBytes);
    EXPECT_TRUE(Form->TextPane()->MainView()->DisplayText().ends_with(Utf8ToCp932(" … (以下省略 text cut)")));
}

// A video fed by a pipe that never ends showed a box without a way out for five minutes.
TEST_F(MainWindow, ReadingTheSubtitlesInAVideoStopsAtCancel)
{
    TTempFolder data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.Path().string()));
    const std::string film = Packages / "film.mkv";
    TStalledFifo stalled(film, "\x1a\x45\xdf\xa3");
    ASSERT_TRUE(stalled.Ready());
    Create();
    Form->show();
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (auto* box : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(box); progress && progress->isVisible())
                if (auto* button = progress->findChild<QPushButton*>())
                    button->click();
    });
    cancel.start(300);
    QElapsedTimer reading;
    reading.start();
    EXPECT_TRUE(Form->OpenMaterial({QString::fromStdString(film)}));
    EXPECT_TRUE(Form->MakingTitle()) << "the window waited for the reading";
    EXPECT_TRUE(WaitUntil([&] { return !Form->MakingTitle(); }, 10000));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_LT(reading.elapsed(), 5000);
    ASSERT_FALSE(Prompts.Said.empty());
    EXPECT_NE(Prompts.Said.back().find("reading the subtitles in the recording was cancelled"), std::string::npos)
        << Prompts.Said.back();
}
