#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <memory>

#include "picture/jpeg_decoder.h"
#include "picture/picture_loader.h"
#include "picture_files.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

bool Near(QRgb a, QRgb b, int tolerance = 24)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class PictureLoader : public testing::Test {
protected:
    QString Path(const std::string& name) const { return QString::fromStdString(Folder / name); }
    bool Load(const std::string& name)
    {
        Error.clear();
        return LoadPictureFile(Path(name), Picture, Error);
    }
    std::string SavedWithQt(const char* format, const QImage& image = TestPicture(64, 48))
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format));
        return bytes.toStdString();
    }

    TTempFolder Folder;
    QImage Picture;
    QString Error;
};

}  // namespace

TEST_F(PictureLoader, JpegPicturesDecodeInTheirColours)
{
    for (TJpegKind kind : {TJpegKind::Color, TJpegKind::Progressive, TJpegKind::Cmyk}) {
        ASSERT_TRUE(WriteJpeg(Folder / "photo.jpg", TestPicture(64, 48), kind));
        ASSERT_TRUE(Load("photo.jpg")) << Error.toStdString();
        EXPECT_EQ(Picture.size(), QSize(64, 48));
        EXPECT_TRUE(Near(Picture.pixel(8, 8), qRgb(220, 30, 30))) << std::hex << Picture.pixel(8, 8);
        EXPECT_TRUE(Near(Picture.pixel(56, 8), qRgb(30, 30, 220))) << std::hex << Picture.pixel(56, 8);
        EXPECT_TRUE(Near(Picture.pixel(34, 26), qRgb(255, 255, 255))) << std::hex << Picture.pixel(34, 26);
    }
    ASSERT_TRUE(WriteJpeg(Folder / "gray.JPEG", TestPicture(64, 48), TJpegKind::Gray));
    ASSERT_TRUE(Load("gray.JPEG"));
    EXPECT_TRUE(Near(Picture.pixel(8, 8), qRgb(qGray(220, 30, 30), qGray(220, 30, 30), qGray(220, 30, 30))));
}

TEST_F(PictureLoader, QtFormatsLoadByTheirExtension)
{
    for (const char* format : {"png", "bmp", "ico"}) {
        const std::string name = std::string("picture.") + format;
        ASSERT_TRUE(WriteBytes(Folder / name, SavedWithQt(format)));
        ASSERT_TRUE(Load(name)) << format << ": " << Error.toStdString();
        EXPECT_EQ(Picture.size(), QSize(64, 48)) << format;
        EXPECT_TRUE(Near(Picture.pixel(56, 8), qRgb(30, 30, 220), 0)) << format;
    }
    ASSERT_TRUE(WriteBytes(Folder / "dot.GIF", TransparentGif()));
    ASSERT_TRUE(Load("dot.GIF")) << Error.toStdString();
    EXPECT_EQ(Picture.size(), QSize(1, 1));
    EXPECT_EQ(qAlpha(Picture.pixel(0, 0)), 0);
}

TEST_F(PictureLoader, OtherExtensionsHaveNoDecoder)
{
    const std::string png = SavedWithQt("png");
    for (const char* name : {"picture.tif", "picture.wmf", "picture.emf", "picture.txt", "picture"}) {
        ASSERT_TRUE(WriteBytes(Folder / name, png));
        EXPECT_FALSE(Load(name)) << name;
        EXPECT_TRUE(Picture.isNull());
    }
}

TEST_F(PictureLoader, AFileThatIsNotWhatItsExtensionSaysFails)
{
    ASSERT_TRUE(WriteBytes(Folder / "png.jpg", SavedWithQt("png")));
    EXPECT_FALSE(Load("png.jpg"));
    ASSERT_TRUE(WriteJpeg(Folder / "jpeg.png", TestPicture(16, 16)));
    EXPECT_FALSE(Load("jpeg.png"));
    ASSERT_TRUE(WriteBytes(Folder / "bmp.gif", SavedWithQt("bmp")));
    EXPECT_FALSE(Load("bmp.gif"));
    ASSERT_TRUE(WriteBytes(Folder / "text.jpg", "This is not a picture at all.\n"));
    EXPECT_FALSE(Load("text.jpg"));
    EXPECT_FALSE(Error.isEmpty());
    ASSERT_TRUE(WriteBytes(Folder / "empty.jpg", ""));
    EXPECT_FALSE(Load("empty.jpg"));
    ASSERT_TRUE(WriteBytes(Folder / "empty.png", ""));
    EXPECT_FALSE(Load("empty.png"));
    EXPECT_TRUE(Picture.isNull());
}

TEST_F(PictureLoader, ATruncatedJpegShowsThePartThatArrived)
{
    ASSERT_TRUE(WriteJpeg(Folder / "whole.jpg", TestPicture(64, 64)));
    const std::string whole = ReadBytes(Folder / "whole.jpg");
    // Cut in the middle of the picture data, which follows the start-of-scan marker.
    const std::size_t scan = whole.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    ASSERT_TRUE(WriteBytes(Folder / "cut.jpg", whole.substr(0, scan + (whole.size() - scan) / 2)));
    ASSERT_TRUE(Load("cut.jpg")) << Error.toStdString();
    EXPECT_FALSE(Error.isEmpty());
    EXPECT_EQ(Picture.size(), QSize(64, 64));
    EXPECT_TRUE(Near(Picture.pixel(8, 2), qRgb(220, 30, 30)));
    EXPECT_TRUE(Near(Picture.pixel(8, 62), qRgb(128, 128, 128)));

    // Cut inside the headers there is nothing to show.
    ASSERT_TRUE(WriteBytes(Folder / "header.jpg", whole.substr(0, 40)));
    EXPECT_FALSE(Load("header.jpg"));
}

TEST_F(PictureLoader, DamagedJpegDataNeverEndsTheProgram)
{
    ASSERT_TRUE(WriteJpeg(Folder / "whole.jpg", TestPicture(64, 64), TJpegKind::Progressive));
    const std::string whole = ReadBytes(Folder / "whole.jpg");
    // Overwrite stretches all through the file, headers included; each load fails or decodes.
    for (std::size_t at = 2; at + 16 < whole.size(); at += whole.size() / 37) {
        std::string damaged = whole;
        for (std::size_t i = at; i < at + 16; ++i)
            damaged[i] = static_cast<char>((i * 97) & 0xFF);
        ASSERT_TRUE(WriteBytes(Folder / "damaged.jpg", damaged));
        if (Load("damaged.jpg"))
            EXPECT_FALSE(Picture.isNull()) << at;
        else
            EXPECT_TRUE(Picture.isNull()) << at;
    }
}

TEST_F(PictureLoader, AHugeJpegIsDecodedAtAReducedScale)
{
    ASSERT_TRUE(WriteJpeg(Folder / "square.jpg", TestPicture(200, 200)));
    QImage image;
    std::string error;
    ASSERT_TRUE(DecodeJpegFile(Folder / "square.jpg", image, error, 10000));
    EXPECT_EQ(image.size(), QSize(100, 100));
    EXPECT_TRUE(Near(image.pixel(10, 10), qRgb(220, 30, 30)));
    ASSERT_TRUE(DecodeJpegFile(Folder / "square.jpg", image, error, 700));
    EXPECT_EQ(image.size(), QSize(25, 25));
    EXPECT_FALSE(DecodeJpegFile(Folder / "square.jpg", image, error, 600));
    EXPECT_TRUE(image.isNull());
    EXPECT_NE(error.find("too large"), std::string::npos);
}

TEST_F(PictureLoader, A20000By20000JpegLoadsWithBoundedMemory)
{
    // A small file that claims 20000 × 20000 pixels: its data ends at once.
    ASSERT_TRUE(WriteJpeg(Folder / "small.jpg", TestPicture(64, 64)));
    std::string bomb = ReadBytes(Folder / "small.jpg");
    SetJpegSize(bomb, 20000, 20000);
    ASSERT_TRUE(WriteBytes(Folder / "huge.jpg", bomb));
    ASSERT_TRUE(Load("huge.jpg")) << Error.toStdString();
    EXPECT_EQ(Picture.size(), QSize(5000, 5000));

    ASSERT_TRUE(WriteJpeg(Folder / "small.jpg", TestPicture(64, 64), TJpegKind::Progressive));
    bomb = ReadBytes(Folder / "small.jpg");
    SetJpegSize(bomb, 20000, 20000);
    ASSERT_TRUE(WriteBytes(Folder / "huge.jpg", bomb));
    // Progressive data is buffered whole before the first row comes out; at this size that
    // is beyond the decoder's memory bound, so the load fails instead of allocating it.
    EXPECT_FALSE(Load("huge.jpg"));
    EXPECT_TRUE(Picture.isNull());
}

TEST_F(PictureLoader, HugePicturesInOtherFormatsFailWithoutAllocating)
{
    std::string png = SavedWithQt("png");
    SetPngSize(png, 20000, 20000);
    ASSERT_TRUE(WriteBytes(Folder / "huge.png", png));
    EXPECT_FALSE(Load("huge.png"));
    EXPECT_NE(Error.indexOf("too large"), -1) << Error.toStdString();

    std::string bmp = SavedWithQt("bmp");
    SetBmpSize(bmp, 20000, 20000);
    ASSERT_TRUE(WriteBytes(Folder / "huge.bmp", bmp));
    EXPECT_FALSE(Load("huge.bmp"));

    ASSERT_TRUE(WriteBytes(Folder / "huge.gif", TransparentGif(20000, 20000)));
    EXPECT_FALSE(Load("huge.gif"));
    EXPECT_TRUE(Picture.isNull());
}
