#include "support/sound_server.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>

namespace {

constexpr const char* SinkName = "olvetestsink";
constexpr int AnswerTimeoutMs = 10000;

std::string Path(const std::string& folder, const char* name)
{
    return folder + "/" + name;
}

// A test killed half-way leaves no daemon or recorder behind.
void EndWithTheTest(QProcess& process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

}  // namespace

TSoundServer::TSoundServer(const std::string& folder) : FFolder(folder)
{
    EndWithTheTest(FDaemon);
    EndWithTheTest(FRecorder);
}

TSoundServer::~TSoundServer()
{
    for (QProcess* process : {&FRecorder, &FDaemon}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000))
            process->kill();
        process->waitForFinished(3000);
    }
    for (const auto& [name, saved] : FSavedEnvironment) {
        if (saved.first)
            qputenv(name.c_str(), saved.second);
        else
            qunsetenv(name.c_str());
    }
}

std::string TSoundServer::Missing()
{
    for (const char* program : {"pulseaudio", "parec", "pactl"})
        if (QStandardPaths::findExecutable(program).isEmpty())
            return std::string(program) + " is not installed (packages pulseaudio, pulseaudio-utils)";
    return {};
}

void TSoundServer::SetEnvironment(const char* name, const QByteArray& value)
{
    if (!FSavedEnvironment.count(name))
        FSavedEnvironment[name] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
    qputenv(name, value);
}

std::string TSoundServer::Start()
{
    const QString folder = QString::fromStdString(FFolder);
    const QString socket = QString::fromStdString(Path(FFolder, "native"));
    // The daemon writes its cookie and state below HOME: keep them in the folder too.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        environment.insert(name, folder);
    environment.insert("PULSE_RUNTIME_PATH", folder + "/pulse");
    FDaemon.setProcessEnvironment(environment);
    FDaemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FDaemon.setStandardOutputFile(QProcess::nullDevice());
    FDaemon.start("pulseaudio",
                  {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--system=no",
                   "--log-level=error", "-L",
                   QString("module-null-sink sink_name=%1 rate=%2 channels=1 format=s16le").arg(SinkName).arg(Rate),
                   "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (!FDaemon.waitForStarted(AnswerTimeoutMs))
        return "pulseaudio does not start";

    SetEnvironment("PULSE_SERVER", "unix:" + socket.toLocal8Bit());
    SetEnvironment("PULSE_COOKIE", QByteArray::fromStdString(Path(FFolder, "cookie")));
    SetEnvironment("PULSE_CLIENTCONFIG", "/dev/null");
    for (int waited = 0; waited < AnswerTimeoutMs; waited += 100) {
        if (FDaemon.state() == QProcess::NotRunning)
            return "pulseaudio ended at once";
        QProcess info;
        info.start("pactl", {"set-default-sink", SinkName});
        if (info.waitForFinished(AnswerTimeoutMs) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0)
            return {};
        QThread::msleep(100);
    }
    return "pulseaudio does not answer";
}

bool TSoundServer::StartRecording()
{
    FRecorder.setStandardOutputFile(QString::fromStdString(Path(FFolder, "recorded.raw")));
    FRecorder.start("parec", {"-d", QString(SinkName) + ".monitor", "--raw", "--format=s16le",
                              "--rate=" + QString::number(Rate), "--channels=1", "--latency-msec=20"});
    return FRecorder.waitForStarted(AnswerTimeoutMs);
}

std::vector<std::int16_t> TSoundServer::StopRecording()
{
    FRecorder.terminate();
    if (!FRecorder.waitForFinished(AnswerTimeoutMs))
        FRecorder.kill();
    FRecorder.waitForFinished(AnswerTimeoutMs);
    QFile file(QString::fromStdString(Path(FFolder, "recorded.raw")));
    std::vector<std::int16_t> samples;
    if (!file.open(QIODevice::ReadOnly))
        return samples;
    const QByteArray bytes = file.readAll();
    samples.resize(std::size_t(bytes.size()) / sizeof(std::int16_t));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(std::int16_t));
    return samples;
}

std::vector<std::vector<std::int16_t>> SoundStretches(const std::vector<std::int16_t>& x, std::size_t gapSamples)
{
    std::vector<std::vector<std::int16_t>> stretches;
    std::size_t i = 0;
    while (i < x.size()) {
        while (i < x.size() && x[i] == 0)
            ++i;
        if (i == x.size())
            break;
        const std::size_t start = i;
        std::size_t lastSound = i;
        while (i < x.size() && i - lastSound <= gapSamples) {
            if (x[i] != 0)
                lastSound = i;
            ++i;
        }
        stretches.emplace_back(x.begin() + std::ptrdiff_t(start), x.begin() + std::ptrdiff_t(lastSound + 1));
    }
    return stretches;
}
