#include "app/user_guide.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "files/failure.h"
#include "files/prompts.h"

namespace olve {

QStringList UserGuideFolders(const QString& programFolder)
{
    return {programFolder, QStringLiteral(OLVE_SOURCE_DIR)};
}

QString FindUserGuide(const QStringList& folders, const QString& page)
{
    for (const QString& folder : folders) {
        const QFileInfo file(QDir(folder).filePath(page));
        if (!folder.isEmpty() && file.isFile() && file.isReadable())
            return file.absoluteFilePath();
    }
    return QString();
}

bool OpenUserGuide(const QStringList& folders, const QString& page, TPrompts& prompts)
{
    const QString path = FindUserGuide(folders, page);
    if (path.isEmpty()) {
        prompts.Message(BilingualText({TFailureKind::Missing, ("利用案内 " + page + " が見つかりません").toStdString(),
                                       ("The user guide " + page + " is not in " + folders.join(", ")).toStdString()}));
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        prompts.Message(BilingualText({TFailureKind::Failed, "利用案内を開けませんでした",
                                       ("No program opened the user guide " + path +
                                        " (is a viewer for its kind of file installed?)")
                                           .toStdString()}));
        return false;
    }
    return true;
}

}  // namespace olve
