#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/instance_lock.h"
#include "app/instance_refusal.h"
#include "app/main_window.h"
#include "lesson/opening_queue.h"
#include "app/mpris_adaptors.h"
#include "app/mpris_service.h"
#include "app/send_to_running_instance.h"
#include "app/startup_check.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

// Runs a sender on its own thread while this thread's event loop serves the window.
int SendWhileServing(const QString& socket, const QString& text, const QString& className = MainWindowClassName)
{
    auto result = std::async(std::launch::async, [=] {
        return SendToRunningInstance(socket, className, ApplicationTitle, text);
    });
    WaitUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000);
    return result.get();
}

std::string MakeFile(const TTempFolder& dir, const std::string& name)
{
    std::ofstream(dir / name) << "package";
    return dir / name;
}

// A window of this process, answering on a socket in a private runtime folder, as the
// first instance.
struct TWindowFixture {
    TTempFolder Program;
    TTempFolder Runtime;
    TInstanceLock Lock{QString::fromStdString(Runtime / "olveplayer.lock")};
    TRecordingPrompts Prompts;
    QString Socket = QString::fromStdString(Runtime / "olveplayer.socket");
    TForm1 Form{QString::fromStdString(Program / "olveplayer"), {"NoTie"}, Prompts};
    std::vector<QString> Opened;

    TWindowFixture()
    {
        EXPECT_TRUE(Lock.TryAcquire());
        Form.OnHandOver = [this](const QString& path) { Opened.push_back(path); };
        EXPECT_TRUE(Form.ListenForHandOvers(Socket));
    }
    void ShowAndWaitReady()
    {
        Form.show();
        EXPECT_TRUE(WaitUntil([&] { return Form.LinkBox()->text().isEmpty(); }));
    }
};

QProcessEnvironment PlayerEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

QProcessEnvironment WithRuntime(const TTempFolder& runtime)
{
    QProcessEnvironment env = PlayerEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path().string()));
    return env;
}

// A copy of the player in a program folder of its own, started as a separate process.
class TPlayerProcess {
public:
    TPlayerProcess(const TTempFolder& runtime, const QStringList& arguments, const QString& workingFolder = {})
        : TPlayerProcess(WithRuntime(runtime), arguments, workingFolder)
    {
    }
    TPlayerProcess(const QProcessEnvironment& env, const QStringList& arguments, const QString& workingFolder = {})
    {
        std::filesystem::copy_file(std::string(OLVE_BIN_DIR) + "/olveplayer", FProgram / "olveplayer");
        FProcess.setProcessEnvironment(env);
        FProcess.setProcessChannelMode(QProcess::ForwardedChannels);
        FProcess.setWorkingDirectory(workingFolder);
        FProcess.start(QString::fromStdString(FProgram / "olveplayer"), arguments);
        FProcess.waitForStarted();
    }
    ~TPlayerProcess()
    {
        FProcess.kill();
        FProcess.waitForFinished();
    }
    bool Running() { return FProcess.state() != QProcess::NotRunning; }
    void Stop() { kill(static_cast<pid_t>(FProcess.processId()), SIGSTOP); }
    // Exit status once it ended by itself within ms, or -1.
    int WaitForExit(int ms)
    {
        if (!WaitUntil([&] { return !Running(); }, ms))
            return -1;
        return FProcess.exitStatus() == QProcess::NormalExit ? FProcess.exitCode() : -1;
    }

private:
    TTempFolder FProgram;
    QProcess FProcess;
};

bool Ready(const QString& socket)
{
    const auto reply = QueryRunningInstance(socket);
    return reply && reply->BoxText != TLinkBox::Busy;
}

QString SocketIn(const TTempFolder& runtime)
{
    return QString::fromStdString(runtime / "olveplayer.socket");
}

// A second start, made in this process, against the instance files in runtime.
struct TSecondStart {
    TTempFolder Program;
    TRecordingPrompts Prompts;
    TInstanceLock Lock;
    TStartupEnvironment Env;

    TSecondStart(const TTempFolder& runtime, const QStringList& arguments)
        : Lock(QString::fromStdString(runtime / "olveplayer.lock"))
    {
        Env.ProgramPath = QString::fromStdString(Program / "olveplayer");
        Env.Arguments = arguments;
        Env.SocketPath = SocketIn(runtime);
        Env.Lock = &Lock;
        Env.Prompts = &Prompts;
        Env.WaitForInstanceMs = 1000;
    }
};

}  // namespace

TEST(HandOverResults, NobodyListeningGivesOne)
{
    TTempFolder runtime;
    EXPECT_EQ(SendToRunningInstance(SocketIn(runtime), MainWindowClassName, ApplicationTitle, "/x.qzw"), hoNoWindow);
}

TEST(HandOverResults, TheBoxIsBusyUntilTheWindowRunsThenTakesEachHandOver)
{
    TWindowFixture w;
    TTempFolder files;
    const QString package = QString::fromStdString(MakeFile(files, "lesson.QZW"));

    EXPECT_EQ(SendWhileServing(w.Socket, package), hoBusy);
    EXPECT_EQ(w.Form.LinkBox()->text(), TLinkBox::Busy);
    EXPECT_TRUE(w.Opened.empty());

    w.ShowAndWaitReady();
    EXPECT_EQ(SendWhileServing(w.Socket, package), hoHandedOver);
    EXPECT_EQ(w.Form.LinkBox()->text(), package);
    EXPECT_EQ(SendWhileServing(w.Socket, package), hoHandedOver);
    WaitUntil([&] { return w.Opened.size() == 2; });
    EXPECT_EQ(w.Opened, (std::vector<QString>{package, package}));
}

// The path goes to the window as it came, never read back from a text box, which would
// change what a text box does not hold.
TEST(HandOverResults, AnOddlyNamedPackageArrivesAsItWasNamed)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    TTempFolder files;
    const QString package = QString::fromStdString(MakeFile(files, "  two\nlines\t.qzw"));
    EXPECT_EQ(SendWhileServing(w.Socket, package), hoHandedOver);
    ASSERT_TRUE(WaitUntil([&] { return !w.Opened.empty(); }));
    EXPECT_EQ(w.Opened, std::vector<QString>{package});
}

TEST(HandOverResults, TheSenderHasItsAnswerBeforeThePackageOpens)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    TTempFolder files;
    const QString package = QString::fromStdString(MakeFile(files, "lesson.qzw"));
    auto sent = std::async(std::launch::async, [&] {
        return SendToRunningInstance(w.Socket, MainWindowClassName, ApplicationTitle, package);
    });
    const auto answered = [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
    // Opening may ask the user for as long as they take; the sender must not wait for it.
    bool answeredFirst = false;
    w.Form.OnHandOver = [&](const QString& path) {
        w.Opened.push_back(path);
        answeredFirst = WaitUntil(answered, 5000);
    };
    ASSERT_TRUE(WaitUntil([&] { return answered() && !w.Opened.empty(); }, 30000));
    EXPECT_EQ(sent.get(), hoHandedOver);
    EXPECT_TRUE(answeredFirst);
}

TEST(HandOverResults, APackageHandedOverWhileABoxIsOpenOpensOnceItCloses)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    TTempFolder files;
    const QString package = QString::fromStdString(MakeFile(files, "lesson.qzw"));
    QDialog box(&w.Form);
    box.setModal(true);
    box.show();
    EXPECT_EQ(SendWhileServing(w.Socket, package), hoHandedOver);
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(w.Opened.empty());
    box.hide();
    EXPECT_TRUE(WaitUntil([&] { return w.Opened.size() == 1; }));
}

TEST(HandOverResults, TextsThatNameNoPackageAreIgnored)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    TTempFolder files;
    EXPECT_EQ(SendWhileServing(w.Socket, QString::fromStdString(MakeFile(files, "notes.txt"))), hoHandedOver);
    EXPECT_EQ(SendWhileServing(w.Socket, QString::fromStdString(files / "missing.qzw")), hoHandedOver);
    EXPECT_TRUE(w.Opened.empty());
}

TEST(HandOverResults, AWindowWithoutItsBoxGivesTwo)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    delete w.Form.findChild<TLinkBox*>();
    EXPECT_EQ(SendWhileServing(w.Socket, "/x.qzw"), hoNoBox);
}

TEST(HandOverResults, AWindowOfAnotherClassOrCaptionGivesOne)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    EXPECT_EQ(SendWhileServing(w.Socket, "/x.qzw", "TFormHelp"), hoNoWindow);
    w.Form.setWindowTitle("Something else");
    EXPECT_EQ(SendWhileServing(w.Socket, "/x.qzw"), hoNoWindow);
    w.Form.setWindowTitle(QString("Lesson 1 - ") + ApplicationTitle);
    EXPECT_EQ(SendWhileServing(w.Socket, "/x.qzw"), hoHandedOver);
}

TEST(PlayerProcesses, ASecondStartHandsItsArgumentToTheFirstAndEnds)
{
    TTempFolder runtime;
    TPlayerProcess first(runtime, {});
    ASSERT_TRUE(WaitUntil([&] { return Ready(SocketIn(runtime)); }, 20000));

    TPlayerProcess noArgument(runtime, {});
    EXPECT_EQ(noArgument.WaitForExit(20000), 0);
    EXPECT_EQ(QueryRunningInstance(SocketIn(runtime))->BoxText, "");

    // Not a package: the first instance leaves it in its box, where a package that is not
    // there would be reported, and the report's box would clear it.
    TPlayerProcess second(runtime, {"/tmp/some lesson.txt"});
    EXPECT_EQ(second.WaitForExit(20000), 0);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(QueryRunningInstance(SocketIn(runtime))->BoxText, "/tmp/some lesson.txt");
}

TEST(PlayerProcesses, ASecondStartWhileTheFirstIsBusyHandsNothingOver)
{
    TWindowFixture w;
    TTempFolder files;
    const std::string package = MakeFile(files, "lesson.qzw");
    TPlayerProcess second(w.Runtime, {QString::fromStdString(package)});
    EXPECT_EQ(second.WaitForExit(20000), 0);
    EXPECT_EQ(w.Form.LinkBox()->text(), TLinkBox::Busy);
    EXPECT_TRUE(w.Opened.empty());
}

TEST(PlayerProcesses, AStaleSocketDoesNotBlockANewFirstInstance)
{
    TTempFolder runtime;
    const std::string path = runtime / "olveplayer.socket";
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);  // leaves the socket file behind, refusing connections, as a crash does
    ASSERT_TRUE(std::filesystem::exists(path));

    TPlayerProcess player(runtime, {});
    EXPECT_TRUE(WaitUntil([&] { return Ready(SocketIn(runtime)); }, 20000));
    EXPECT_TRUE(player.Running());
}

TEST(PlayerProcesses, TwoStartsAtTheSameMomentLeaveExactlyOneRunning)
{
    TTempFolder runtime;
    TPlayerProcess a(runtime, {});
    TPlayerProcess b(runtime, {});
    ASSERT_TRUE(WaitUntil([&] { return !a.Running() || !b.Running(); }, 30000));
    QThread::msleep(500);
    EXPECT_NE(a.Running(), b.Running());
    EXPECT_TRUE(WaitUntil([&] { return Ready(SocketIn(runtime)); }, 20000));
}

TEST(PlayerProcesses, ARelativePathReachesTheFirstInstanceAsTheFileItNames)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    TTempFolder files;
    const std::string package = MakeFile(files, "lesson.qzw");
    TPlayerProcess second(w.Runtime, {"lesson.qzw"}, QString::fromStdString(files.Path().string()));
    EXPECT_EQ(second.WaitForExit(20000), 0);
    EXPECT_EQ(w.Opened, std::vector<QString>{QString::fromStdString(package)});
}

TEST(PlayerProcesses, WithoutARuntimeFolderTheInstancesMeetInAFolderOfTheUsersOwn)
{
    TTempFolder temp;
    QProcessEnvironment env = PlayerEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", QString::fromStdString(temp.Path().string()));
    const std::string folder = temp / ("olveplayer-" + std::to_string(geteuid()));
    const QString socket = QString::fromStdString(folder + "/olveplayer.socket");

    TPlayerProcess first(env, {});
    ASSERT_TRUE(WaitUntil([&] { return Ready(socket); }, 20000));
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());

    TPlayerProcess second(env, {"/tmp/some lesson.txt"});
    EXPECT_EQ(second.WaitForExit(20000), 0);
    EXPECT_EQ(QueryRunningInstance(socket)->BoxText, "/tmp/some lesson.txt");
}

// An instance that holds the lock but never answers: one stuck before it listens, and one
// stopped after it did. The second start says so within its wait, and names the package.
TEST(PlayerProcesses, AFirstInstanceThatDoesNotAnswerIsReportedAfterABoundedWait)
{
    TTempFolder runtime;
    TTempFolder here;
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(here.Path().string())));
    const QString package = QString::fromStdString(here / "lesson.qzw");
    const auto checkReports = [&](const char* which) {
        SCOPED_TRACE(which);
        TSecondStart second(runtime, {"lesson.qzw"});
        QElapsedTimer timer;
        timer.start();
        const TStartupResult result = StartupCheck(second.Env);
        EXPECT_LT(timer.elapsed(), 4000);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.ExitCode, exNoAnswer);
        EXPECT_EQ(second.Prompts.Said, std::vector<std::string>{NoAnswerMessage(package.toStdString())});
    };
    {
        TInstanceLock stuck(QString::fromStdString(runtime / "olveplayer.lock"));
        ASSERT_TRUE(stuck.TryAcquire());
        checkReports("holds the lock, never listens");
    }
    TPlayerProcess first(runtime, {});
    ASSERT_TRUE(WaitUntil([&] { return Ready(SocketIn(runtime)); }, 20000));
    first.Stop();
    checkReports("stopped");
}

// A burst of opens from any process on the session bus queued one open each, until the
// player ran out of descriptors: opens asked for faster than they are served come to the latest.
TEST(HandOverResults, OpensAskedForFasterThanTheyAreServedComeToTheLatest)
{
    TWindowFixture w;
    w.ShowAndWaitReady();
    auto* panel = new TMprisService(w.Form);
    auto* adaptor = panel->findChild<TMprisPlayerAdaptor*>();
    ASSERT_TRUE(adaptor);
    TTempFolder files;
    const std::vector<QString> packages = {QString::fromStdString(MakeFile(files, "a.qzw")),
                                           QString::fromStdString(MakeFile(files, "b.qzw"))};
    for (int i = 0; i < 500; ++i) {
        w.Form.LinkBox()->HandOver(packages[0]);
        adaptor->OpenUri(QUrl::fromLocalFile(packages[i % 2]).toString());
    }
    EXPECT_TRUE(WaitUntil([&] { return !w.Opened.empty(); }));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(w.Opened, (std::vector<QString>{packages[1]}));

    // One asked for while another opens comes next.
    w.Opened.clear();
    w.Form.OnHandOver = [&](const QString& path) {
        w.Opened.push_back(path);
        if (w.Opened.size() == 1)
            adaptor->OpenUri(QUrl::fromLocalFile(packages[0]).toString());
    };
    w.Form.Openings().Request(packages[1]);
    EXPECT_TRUE(WaitUntil([&] { return w.Opened.size() == 2; }));
    EXPECT_EQ(w.Opened, (std::vector<QString>{packages[1], packages[0]}));
}
