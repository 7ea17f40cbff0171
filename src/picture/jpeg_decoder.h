#pragma once
#include <QImage>
#include <cstdint>
#include <string>

#include "picture/picture_limits.h"

namespace olve {

// Decodes a JPEG file with libjpeg into a 32-bit RGB image.
//
// A picture with more than maxPixels pixels is decoded at 1/2, 1/4 or 1/8 of its size,
// whichever first fits; if none fits the decode fails. A file cut short or damaged in its
// data decodes as far as the data goes (libjpeg fills the rest grey) and succeeds, with a
// note in error. A file that is not a JPEG, or whose headers are broken, fails. No input
// ends the program: libjpeg's errors return here.
bool DecodeJpegFile(const std::string& path, QImage& image, std::string& error,
                    std::int64_t maxPixels = MaxPicturePixels);

}  // namespace olve
