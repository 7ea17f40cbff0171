#pragma once
#include <QString>
#include <QStringList>

#include "app/instance_lock.h"
#include "storage/prompts.h"

namespace olve {

inline constexpr const char* ApplicationTitle = "Player Olve / Rindale";
inline constexpr const char* MainWindowClassName = "TForm1";

// What the start-up check looks at. Everything is passed in so that the check runs against
// any folder.
struct TStartupEnvironment {
    QString ProgramPath;     // the running executable
    QString DesktopFolder;   // the folder the user's desktop shows
    QStringList Arguments;   // the command line without the program
    QString SocketPath;      // where a running instance answers
    TInstanceLock* Lock = nullptr;
    TPrompts* Prompts = nullptr;
    int WaitForInstanceMs = 10000;
};

QString ProgramFolderOf(const QString& programPath);
QString SettingsFileOf(const QString& programPath);
QString TitlesFolderOf(const QString& programPath);

// Hands the first argument to a running instance and fails, or makes sure the program's
// folder is one it can run from (not the desktop, with a settings file and a "titles"
// folder). Failing, it has told the user why, unless another instance was found.
bool StartupCheck(const TStartupEnvironment& env);

}  // namespace olve
