#include "app/startup_check.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <optional>

#include "app/folder_refusal.h"
#include "app/instance_refusal.h"
#include "app/private_folder.h"
#include "app/send_to_running_instance.h"
#include "files/abandoned_files.h"
#include "codec/cp932_text.h"
#include "lesson/settings_file_store.h"
#include "lesson/user_data_folder.h"

namespace olve {

namespace {

QString WithoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

enum class TInstanceFound { None, Answering, Silent, Refused };

// Why the lock or the socket must not be used, once the lock has been tried; empty when
// both are this user's own.
std::string InstanceFilesRefusal(const TStartupEnvironment& env)
{
    return env.Lock->Refusal().empty() ? ForeignFileRefusal(env.SocketPath) : env.Lock->Refusal();
}

// Whether another instance runs (or is starting): it holds the instance lock. Waits for
// it to answer, since a second start often comes while the first is still starting.
TInstanceFound RunningInstance(const TStartupEnvironment& env)
{
    const QDeadlineTimer deadline(env.WaitForInstanceMs);
    for (;;) {
        const bool first = env.Lock->TryAcquire();
        if (!InstanceFilesRefusal(env).empty())
            return TInstanceFound::Refused;
        if (first)
            return TInstanceFound::None;
        if (InstanceAnswers(env.SocketPath, std::max<int>(deadline.remainingTime(), 1)))
            return TInstanceFound::Answering;
        if (deadline.hasExpired())
            return TInstanceFound::Silent;
        QThread::msleep(50);
    }
}

// A relative path means the folder this start was made in, which the running instance
// does not know.
QString AbsoluteArgument(const QString& argument)
{
    return argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath();
}

TStartupResult HandOver(const TStartupEnvironment& env)
{
    if (!env.Arguments.isEmpty())
        SendToRunningInstance(env.SocketPath, MainWindowClassName, ApplicationTitle,
                              AbsoluteArgument(env.Arguments.first()));
    RaiseRunningInstance(env.SocketPath);
    return {};
}

TStartupResult End(const TStartupEnvironment& env, const std::string& message, int exitCode)
{
    env.Prompts->Message(message);
    return {false, exitCode};
}

TStartupResult Refuse(const TStartupEnvironment& env, const QString& folder)
{
    return End(env, FolderRefusalMessage(folder.toStdString()), exDone);
}

// Meets the running instance; nothing when this is the first.
std::optional<TStartupResult> MeetRunningInstance(const TStartupEnvironment& env)
{
    switch (RunningInstance(env)) {
    case TInstanceFound::None:
        return std::nullopt;
    case TInstanceFound::Answering:
        return HandOver(env);
    case TInstanceFound::Refused:
        return End(env, InstanceFilesRefusal(env), exInstanceFilesRefused);
    case TInstanceFound::Silent:
        break;
    }
    const QString package = env.Arguments.isEmpty() ? QString() : AbsoluteArgument(env.Arguments.first());
    return End(env, NoAnswerMessage(package.toStdString()), exNoAnswer);
}

}  // namespace

QString ProgramFolderOf(const QString& programPath)
{
    return WithoutTrailingSlash(QFileInfo(programPath).absolutePath());
}

QString SettingsFileOf(const QString& programPath)
{
    const QFileInfo info(programPath);
    return ProgramFolderOf(programPath) + "/" + info.completeBaseName() + ".dat";
}

QString TitlesFolderOf(const QString& programPath)
{
    return ProgramFolderOf(programPath) + "/titles";
}

TStartupResult StartupCheck(const TStartupEnvironment& env)
{
    if (const auto met = MeetRunningInstance(env))
        return *met;

    const QString folder = ProgramFolderOf(env.ProgramPath);
    const QString desktop = WithoutTrailingSlash(env.DesktopFolder);
    if (!desktop.isEmpty() && SameAsciiIgnoringCase(desktop.toStdString(), folder.toStdString()))
        return Refuse(env, "デスクトップ");

    TSettingsFileStore settings(SettingsFileOf(env.ProgramPath).toStdString(), UserDataFolder());
    if (const std::optional<TFailure> refusal = settings.Refusal()) {
        // Every later reading and writing of it passes it by.
        env.Prompts->Message(BilingualText(*refusal, {TFailureKind::Refused, "既定の設定で始めます", "starting with the default settings"}));
    } else if (!settings.Make()) {
        return Refuse(env, folder);
    }

    // What a player that was killed had installed; the lock is held, so no other runs here.
    RemoveAbandonedInstallations(folder.toStdString());
    const QString titles = TitlesFolderOf(env.ProgramPath);
    QDir().mkdir(titles);
    if (!QFileInfo(titles).isDir())
        return Refuse(env, folder);
    return {true, exDone};
}

}  // namespace olve
