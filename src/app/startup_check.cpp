#include "app/startup_check.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include "app/folder_refusal.h"
#include "app/send_to_running_instance.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"

namespace olve {

namespace {

QString WithoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

// True when another instance runs (or is starting): it holds the instance lock. Waits
// for it to answer, since a second start often comes while the first is still starting.
bool RunningInstanceFound(const TStartupEnvironment& env)
{
    const QDeadlineTimer deadline(env.WaitForInstanceMs);
    for (;;) {
        if (env.Lock->TryAcquire())
            return false;
        if (InstanceAnswers(env.SocketPath) || deadline.hasExpired())
            return true;
        QThread::msleep(50);
    }
}

bool Refuse(const TStartupEnvironment& env, const QString& folder)
{
    env.Prompts->Message(FolderRefusalMessage(folder.toStdString()));
    return false;
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

bool StartupCheck(const TStartupEnvironment& env)
{
    if (RunningInstanceFound(env)) {
        if (!env.Arguments.isEmpty())
            SendToRunningInstance(env.SocketPath, MainWindowClassName, ApplicationTitle, env.Arguments.first());
        RaiseRunningInstance(env.SocketPath);
        return false;
    }

    const QString folder = ProgramFolderOf(env.ProgramPath);
    const QString desktop = WithoutTrailingSlash(env.DesktopFolder);
    if (!desktop.isEmpty() && SameAsciiIgnoringCase(desktop.toStdString(), folder.toStdString()))
        return Refuse(env, "デスクトップ");

    const QString settings = SettingsFileOf(env.ProgramPath);
    TDataFile(settings.toStdString(), *env.Prompts).Close();
    if (!QFileInfo(settings).isFile())
        return Refuse(env, folder);

    const QString titles = TitlesFolderOf(env.ProgramPath);
    QDir().mkdir(titles);
    if (!QFileInfo(titles).isDir())
        return Refuse(env, folder);
    return true;
}

}  // namespace olve
