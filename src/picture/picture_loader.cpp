#include "picture/picture_loader.h"

#include <QFileInfo>
#include <QImageReader>

#include "picture/jpeg_decoder.h"

namespace olve {

namespace {

bool LoadWithQt(const QString& path, const QByteArray& format, QImage& picture, QString& error)
{
    QImageReader reader(path, format);
    // The extension chose the decoder; content of another kind is not guessed at.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() && static_cast<std::int64_t>(size.width()) * size.height() > MaxPicturePixels) {
        error = QStringLiteral("picture of %1 x %2 pixels is too large").arg(size.width()).arg(size.height());
        return false;
    }
    if (!reader.read(&picture)) {
        error = reader.errorString();
        picture = QImage();
        return false;
    }
    return true;
}

}  // namespace

bool LoadPictureFile(const QString& path, QImage& picture, QString& error)
{
    picture = QImage();
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        std::string message;
        const bool ok = DecodeJpegFile(QFile::encodeName(path).toStdString(), picture, message);
        error = QString::fromStdString(message);
        return ok;
    }
    for (const char* format : {"gif", "bmp", "ico", "png"}) {
        if (extension == QLatin1String(format))
            return LoadWithQt(path, format, picture, error);
    }
    error = QStringLiteral("no decoder for the extension \"%1\"").arg(extension);
    return false;
}

}  // namespace olve
