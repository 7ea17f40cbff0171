#pragma once
#include <QImage>
#include <QString>

namespace olve {

// Loads a picture file with the decoder its extension names (ignoring ASCII case): "jpg"
// and "jpeg" through libjpeg; "gif", "bmp", "ico" and "png" through Qt's image readers.
// Any other extension has no decoder and fails, and so does a file whose content is not
// what its extension says. Pictures beyond MaxPicturePixels never load at full size.
bool LoadPictureFile(const QString& path, QImage& picture, QString& error);

}  // namespace olve
