// Card pictures from any bytes, under each extension the picture pane loads.
// First byte: the extension; the rest: the file.
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "picture/picture_limits.h"
#include "picture/picture_loader.h"

using namespace olve;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt's image readers are plugins, found through the application; no screen is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr const char* extensions[] = {"jpg", "JPEG", "gif", "bmp", "ico", "png", "Png", "tif"};
    const char* extension = extensions[size > 0 ? data[0] % 8 : 0];
    const std::string path = (fuzz::Scratch() / (std::string("card.") + extension)).string();
    fuzz::WriteBytes(path, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);

    QImage picture;
    QString error;
    const bool loaded = LoadPictureFile(QString::fromStdString(path), picture, error);
    if (loaded) {
        OLVE_FUZZ_CHECK(!picture.isNull());
        OLVE_FUZZ_CHECK(static_cast<std::int64_t>(picture.width()) * picture.height() <= MaxPicturePixels);
    } else {
        OLVE_FUZZ_CHECK(picture.isNull());
        OLVE_FUZZ_CHECK(!error.isEmpty());
    }
    return 0;
}
