#pragma once
#include <QImage>
#include <string>

// Picture files for the tests, written by libjpeg and Qt's writers or byte by byte.

enum class TJpegKind { Color, Gray, Cmyk, Progressive };

// Writes image as a JPEG with libjpeg.
bool WriteJpeg(const std::string& path, const QImage& image, TJpegKind kind = TJpegKind::Color, int quality = 90);

// A picture with distinct areas: red left half, blue right half, and a white square whose
// top-left corner is at the middle.
QImage TestPicture(int width, int height);

// A 1 × 1 GIF whose only pixel is transparent, with its screen and image sizes set.
std::string TransparentGif(int width = 1, int height = 1);

bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// Sets the size fields of picture files in place (their data stays as it was).
void SetJpegSize(std::string& jpeg, int width, int height);
void SetPngSize(std::string& png, int width, int height);
void SetBmpSize(std::string& bmp, int width, int height);
