#pragma once
#include <QString>
#include <QStringList>

namespace olve {

class TPrompts;

// The user guide is the pages shipped with the program: the README and the guide to making
// titles, beside the program or in the source tree it was built from.
inline constexpr const char* ReadmeGuide = "README.md";
inline constexpr const char* TitlesGuide = "docs/making-titles.md";

// Where the guide is looked for, in order: the program's folder, then the source tree.
QStringList UserGuideFolders(const QString& programFolder);

// The page in the first folder that holds it; empty when none does.
QString FindUserGuide(const QStringList& folders, const QString& page);

// Opens the page with the desktop's handler for its kind of file. False, after telling the
// user why, when it is nowhere or could not be opened.
bool OpenUserGuide(const QStringList& folders, const QString& page, TPrompts& prompts);

}  // namespace olve
