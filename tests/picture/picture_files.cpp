#include "picture_files.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <stdexcept>
#include <zlib.h>

bool WriteJpeg(const std::string& path, const QImage& image, TJpegKind kind, int quality)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    const bool cmyk = kind == TJpegKind::Cmyk;
    const bool gray = kind == TJpegKind::Gray;
    info.input_components = gray ? 1 : cmyk ? 4 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == TJpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) * 4);
    while (info.next_scanline < info.image_height) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(info.next_scanline)));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = pixels[x];
            if (gray) {
                row[x] = static_cast<JSAMPLE>(qGray(p));
            } else if (cmyk) {
                // libjpeg marks CMYK files as Adobe's, whose inks are stored inverted
                // (255 is no ink); no black ink.
                row[4 * x] = static_cast<JSAMPLE>(qRed(p));
                row[4 * x + 1] = static_cast<JSAMPLE>(qGreen(p));
                row[4 * x + 2] = static_cast<JSAMPLE>(qBlue(p));
                row[4 * x + 3] = 255;
            } else {
                row[3 * x] = static_cast<JSAMPLE>(qRed(p));
                row[3 * x + 1] = static_cast<JSAMPLE>(qGreen(p));
                row[3 * x + 2] = static_cast<JSAMPLE>(qBlue(p));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

QImage TestPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QRgb colour = x < width / 2 ? qRgb(220, 30, 30) : qRgb(30, 30, 220);
            if (x >= width / 2 && x < width / 2 + width / 8 && y >= height / 2 && y < height / 2 + height / 8)
                colour = qRgb(255, 255, 255);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

std::string TransparentGif(int width, int height)
{
    std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                    "!\xf9\x04\x01\x00\x00\x00\x00"
                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                    43);
    auto put16 = [&gif](std::size_t at, int value) {
        gif[at] = static_cast<char>(value & 0xFF);
        gif[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    put16(6, width);
    put16(8, height);
    put16(32, width);
    put16(34, height);
    return gif;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

void PutBigEndian16(std::string& bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<char>((value >> 8) & 0xFF);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

void PutBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

void PutLittleEndian32(std::string& bytes, std::size_t at, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

void SetJpegSize(std::string& jpeg, int width, int height)
{
    // The start-of-frame marker (baseline or progressive) holds height, then width.
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            PutBigEndian16(jpeg, i + 5, height);
            PutBigEndian16(jpeg, i + 7, width);
            return;
        }
    }
    throw std::runtime_error("no frame header");
}

void SetPngSize(std::string& png, int width, int height)
{
    // IHDR right after the signature: length, type, width, height, ..., CRC over type and data.
    PutBigEndian32(png, 16, static_cast<std::uint32_t>(width));
    PutBigEndian32(png, 20, static_cast<std::uint32_t>(height));
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    PutBigEndian32(png, 29, static_cast<std::uint32_t>(crc));
}

void SetBmpSize(std::string& bmp, int width, int height)
{
    PutLittleEndian32(bmp, 18, width);
    PutLittleEndian32(bmp, 22, height);
}
