#pragma once
#include <QString>
#include <QStringList>

#include "app/instance_lock.h"
#include "files/prompts.h"

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
    int WaitForInstanceMs = 10000;  // how long an instance holding the lock may take to answer
};

// Exit statuses of a start that ends at the check. A refused folder and a hand-over (or an
// instance that is busy starting) end with exDone, as every ordinary end does.
enum TStartupExit {
    exDone = 0,
    exInstanceFilesRefused = 1,  // the lock or socket is not in a place private to the user
    exNoAnswer = 2,              // another instance holds the lock but does not answer
};

// How the check ended: the program runs on, or ends with ExitCode.
struct TStartupResult {
    bool Run = false;
    int ExitCode = exDone;
    explicit operator bool() const { return Run; }
};

QString ProgramFolderOf(const QString& programPath);
QString SettingsFileOf(const QString& programPath);
QString TitlesFolderOf(const QString& programPath);

// Hands the first argument (made absolute here, since the running instance works in
// another folder) to a running instance and fails, or makes sure the program's folder is
// one it can run from (not the desktop, with a settings file and a "titles" folder).
// Failing, it has told the user why, unless another instance took the hand-over. An
// instance that holds the lock but does not answer within WaitForInstanceMs is reported,
// not waited for: the package is not opened by this start either, since two instances
// would share the program folder's settings and installed files.
TStartupResult StartupCheck(const TStartupEnvironment& env);

}  // namespace olve
