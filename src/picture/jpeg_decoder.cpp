#include "picture/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace olve {

namespace {

// Progressive files can hold any number of scans, each a pass over the whole picture.
constexpr int MaxScans = 1000;
// Buffered (progressive) decoding keeps the picture's coefficients; beyond this libjpeg
// reports an error instead of allocating.
constexpr long MaxDecoderMemory = 512L * 1024 * 1024;

// Everything the decoder touches between setjmp and longjmp lives here, in plain C types,
// so that jumping out of libjpeg skips no destructor.
struct TJpegDecoding {
    jpeg_decompress_struct Info;
    jpeg_error_mgr ErrorManager;
    jpeg_progress_mgr Progress;
    std::jmp_buf Escape;
    char Message[JMSG_LENGTH_MAX];
    JDIMENSION RowsDone;
    bool Started;
};

TJpegDecoding& DecodingOf(j_common_ptr info)
{
    // ErrorManager is reached through info->err; the struct is found from its member.
    auto* manager = reinterpret_cast<char*>(info->err);
    return *reinterpret_cast<TJpegDecoding*>(manager - offsetof(TJpegDecoding, ErrorManager));
}

// libjpeg's own handler ends the process.
[[noreturn]] void ReturnWithError(j_common_ptr info)
{
    TJpegDecoding& decoding = DecodingOf(info);
    (*info->err->format_message)(info, decoding.Message);
    std::longjmp(decoding.Escape, 1);
}

void KeepWarningsQuiet(j_common_ptr)
{
}

void LimitScans(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans) {
        TJpegDecoding& decoding = DecodingOf(info);
        std::snprintf(decoding.Message, sizeof decoding.Message, "more than %d scans", MaxScans);
        std::longjmp(decoding.Escape, 1);
    }
}

bool ChooseScale(jpeg_decompress_struct& info, std::int64_t maxPixels)
{
    for (unsigned denominator : {1u, 2u, 4u, 8u}) {
        info.scale_num = 1;
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (static_cast<std::int64_t>(info.output_width) * info.output_height <= maxPixels)
            return true;
    }
    return false;
}

void ChooseColorSpace(jpeg_decompress_struct& info)
{
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        info.out_color_space = JCS_CMYK;
        return;
    }
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info.out_color_space = JCS_EXT_BGRX;  // the byte order of QImage::Format_RGB32
#else
    info.out_color_space = JCS_EXT_XRGB;
#endif
}

void CmykToRgb(const JSAMPLE* cmyk, QRgb* rgb, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        // Adobe writes the inks inverted: 255 is no ink.
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Returns false with decoding.Message set; may leave a partly filled image behind.
bool RunDecoder(TJpegDecoding& decoding, std::FILE* file, QImage& image, std::int64_t maxPixels)
{
    jpeg_decompress_struct& info = decoding.Info;
    info.err = jpeg_std_error(&decoding.ErrorManager);
    decoding.ErrorManager.error_exit = ReturnWithError;
    decoding.ErrorManager.output_message = KeepWarningsQuiet;
    decoding.Progress.progress_monitor = LimitScans;
    if (setjmp(decoding.Escape))
        return false;

    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxDecoderMemory;
    info.progress = &decoding.Progress;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!ChooseScale(info, maxPixels)) {
        std::snprintf(decoding.Message, sizeof decoding.Message, "picture of %u x %u pixels is too large",
                      info.image_width, info.image_height);
        return false;
    }
    ChooseColorSpace(info);
    jpeg_start_decompress(&info);
    decoding.Started = true;

    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
    if (image.isNull()) {
        std::snprintf(decoding.Message, sizeof decoding.Message, "out of memory");
        return false;
    }
    const bool cmyk = info.out_color_space == JCS_CMYK;
    JSAMPARRAY inks = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                        info.output_width * 4, 1)
                           : nullptr;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION row = info.output_scanline;
        JSAMPROW target = cmyk ? inks[0] : image.scanLine(static_cast<int>(row));
        jpeg_read_scanlines(&info, &target, 1);
        if (cmyk)
            CmykToRgb(inks[0], reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(row))), info.output_width,
                      info.saw_Adobe_marker);
        decoding.RowsDone = row + 1;
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool DecodeJpegFile(const std::string& path, QImage& image, std::string& error, std::int64_t maxPixels)
{
    image = QImage();
    error.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    TJpegDecoding decoding{};
    bool ok = RunDecoder(decoding, file, image, maxPixels);
    if (ok && decoding.ErrorManager.num_warnings > 0)
        error = "damaged data; decoded as far as it goes";
    if (!ok) {
        error = decoding.Message;
        // Rows decoded before a damaged part are shown; the rest is grey, as libjpeg fills
        // data that ends early.
        if (decoding.Started && decoding.RowsDone > 0 && !image.isNull()) {
            for (int y = static_cast<int>(decoding.RowsDone); y < image.height(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(), qRgb(128, 128, 128));
            ok = true;
        } else {
            image = QImage();
        }
    }
    jpeg_destroy_decompress(&decoding.Info);
    std::fclose(file);
    return ok;
}

}  // namespace olve
