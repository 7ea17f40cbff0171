#include "media/content_class.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace olve {

QString ContentClassOfExtension(const QString& extension)
{
    if (extension.isEmpty())
        return "error";
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName("file" + extension);
    if (types.isEmpty())
        return "error";
    // Of the types an extension may stand for (".ts": translations or a transport stream), a
    // recording is what a player is given.
    QString contentType = types.first().name().toLower();
    for (const QMimeType& type : types) {
        const QString name = type.name().toLower();
        if (name.startsWith("video/") || name.startsWith("audio/")) {
            contentType = name;
            break;
        }
    }
    const qsizetype slash = contentType.indexOf('/');
    return slash < 0 ? QString() : contentType.left(slash);
}

QString ContentClassOfFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return ContentClassOfExtension(suffix.isEmpty() ? QString() : "." + suffix);
}

}  // namespace olve
