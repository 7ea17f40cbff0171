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
    const QString contentType = types.first().name().toLower();
    const qsizetype slash = contentType.indexOf('/');
    return slash < 0 ? QString() : contentType.left(slash);
}

QString ContentClassOfFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return ContentClassOfExtension(suffix.isEmpty() ? QString() : "." + suffix);
}

}  // namespace olve
