#include <QApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#include "app/help_window.h"
#include "app/instance_lock.h"
#include "app/instance_refusal.h"
#include "app/main_window.h"
#include "app/mpris_service.h"
#include "app/qt_prompts.h"
#include "app/startup_check.h"
#include "app/termination_signals.h"
#include "app/user_guide.h"
#include "textview/font_substitutions.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A signal at any step of the start ends the program as closing it does.
    olve::TTerminationSignals signals;
    olve::TQtPrompts prompts;
    const olve::TInstancePaths paths = olve::InstancePaths();
    olve::TInstanceLock lock(paths.Lock);

    olve::TStartupEnvironment env;
    env.ProgramPath = QApplication::applicationFilePath();
    env.DesktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    env.Arguments = app.arguments().mid(1);
    env.SocketPath = paths.Socket;
    env.Lock = &lock;
    env.Prompts = &prompts;
    const olve::TStartupResult check = olve::StartupCheck(env);
    if (!check)
        return check.ExitCode;
    // Signalled inside one of the start-up check's message boxes.
    if (signals.Received())
        return 0;

    olve::RegisterFontSubstitutions();
    olve::TForm1 form(env.ProgramPath, env.Arguments, prompts);
    olve::TFormHelp help(&form, OLVE_VERSION, prompts,
                         olve::UserGuideFolders(QFileInfo(env.ProgramPath).absolutePath()));
    form.OnHelp = [&help] { help.Open(); };
    prompts.SetParent(&form);
    // Without a session bus (a bare X display) the player works as before; one line says why
    // media keys will not reach it.
    const QString noMediaKeys = (new olve::TMprisService(form))->Register(QDBusConnection::sessionBus());
    if (!noMediaKeys.isEmpty())
        std::fprintf(stderr, "%s\n", noMediaKeys.toUtf8().constData());
    if (!form.ListenForHandOvers(paths.Socket))
        prompts.Message(olve::NoHandOverMessage(paths.Socket.toStdString()));
    signals.SetOnSignal([&form] { form.Terminate(); });
    QApplication::setQuitOnLastWindowClosed(true);
    form.show();
    return app.exec();
}
