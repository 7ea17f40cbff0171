#pragma once
#include <QByteArray>

namespace olve {

// One decoded picture as the frame sink gives it: rows of 32-bit BGRx pixels. Plain bytes,
// so that playing without a window needs no picture library.
struct TVideoFrame {
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    QByteArray Pixels;

    bool IsNull() const { return Pixels.isEmpty(); }
};

}  // namespace olve
