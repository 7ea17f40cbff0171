#pragma once
#include <QString>

namespace olve {

// The class of content ("video", "audio", "image" ...) of a file extension, dot included,
// from the system's MIME database; "error" when the extension is unknown.
QString ContentClassOfExtension(const QString& extension);
QString ContentClassOfFile(const QString& fileName);

}  // namespace olve
