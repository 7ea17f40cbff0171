#include "picture_pane_fixture.h"

using namespace olve;

TEST_F(PicturePaneTest, APictureIsFittedAndCentredOverThePaneColour)
{
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(200, 100)));
    EXPECT_EQ(Pane->SourceWidth(), 200);
    EXPECT_EQ(Pane->SourceHeight(), 100);
    EXPECT_EQ(Pane->SourceRect(), (TRect{0, 0, 200, 100}));
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 100, 400, 300}));
    EXPECT_TRUE(Pane->InnerImage()->isVisible());
    EXPECT_EQ(Pane->InnerImage()->geometry(), QRect(0, 0, 400, 400));
    EXPECT_EQ(Shown(200, 99), qRgb(0, 0, 0));
    EXPECT_EQ(Shown(200, 100), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(399, 299), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(200, 300), qRgb(0, 0, 0));

    Pane->resize(100, 400);
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 175, 100, 225}));
    EXPECT_EQ(Shown(50, 174), qRgb(0, 0, 0));
    EXPECT_EQ(Shown(50, 175), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(50, 225), qRgb(0, 0, 0));
}

TEST_F(PicturePaneTest, APictureWithThePanesProportionsFillsIt)
{
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(300, 300)));
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 0, 400, 400}));
    EXPECT_EQ(Shown(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(399, 399), qRgb(255, 255, 255));
}

TEST_F(PicturePaneTest, ALoadedJpegShowsItsPicture)
{
    ASSERT_TRUE(WriteJpeg(Folder / "photo.jpg", TestPicture(400, 200)));
    ASSERT_TRUE(Pane->LoadFromFile(QString::fromStdString(Folder / "photo.jpg")));
    EXPECT_EQ(Pane->FileName(), QString::fromStdString(Folder / "photo.jpg"));
    EXPECT_GT(qRed(Shown(50, 200)), 180);
    EXPECT_GT(qBlue(Shown(350, 200)), 180);
}

TEST_F(PicturePaneTest, AMissingFileChangesNothing)
{
    const QString shown = WhitePicture(200, 100);
    ASSERT_TRUE(Pane->LoadFromFile(shown));
    EXPECT_FALSE(Pane->LoadFromFile(QString::fromStdString(Folder / "missing.png")));
    EXPECT_EQ(Pane->FileName(), shown);
    EXPECT_EQ(Pane->SourceWidth(), 200);
    EXPECT_EQ(Shown(200, 200), qRgb(255, 255, 255));
}

TEST_F(PicturePaneTest, AFileThatCannotBeDecodedKeepsThePictureButNotItsName)
{
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(200, 100)));
    ASSERT_TRUE(WriteBytes(Folder / "broken.jpg", "not a picture"));
    EXPECT_FALSE(Pane->LoadFromFile(QString::fromStdString(Folder / "broken.jpg")));
    EXPECT_TRUE(Pane->FileName().isEmpty());
    EXPECT_EQ(Pane->SourceWidth(), 200);
    EXPECT_EQ(Shown(200, 200), qRgb(255, 255, 255));
    ASSERT_TRUE(WriteBytes(Folder / "picture.wmf", "metafile"));
    EXPECT_FALSE(Pane->LoadFromFile(QString::fromStdString(Folder / "picture.wmf")));
}

TEST_F(PicturePaneTest, TransparentPartsShowThePaneColour)
{
    Pane->SetColor(QColor(0, 128, 0));
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            image.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QString path = QString::fromStdString(Folder / "half.png");
    ASSERT_TRUE(image.save(path));
    ASSERT_TRUE(Pane->LoadFromFile(path));
    EXPECT_EQ(Shown(200, 100), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(200, 300), qRgb(0, 128, 0));

    ASSERT_TRUE(WriteBytes(Folder / "dot.gif", TransparentGif()));
    ASSERT_TRUE(Pane->LoadFromFile(QString::fromStdString(Folder / "dot.gif")));
    EXPECT_EQ(Shown(200, 200), qRgb(0, 128, 0));
}

TEST_F(PicturePaneTest, ClearPictureHidesThePictureAndKeepsTheLines)
{
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(200, 100)));
    Drag({100, 200}, {300, 200});
    ASSERT_EQ(Pane->Lines().Count(), 1);
    Pane->ClearPicture();
    EXPECT_FALSE(Pane->InnerImage()->isVisible());
    EXPECT_TRUE(Pane->FileName().isEmpty());
    EXPECT_EQ(Pane->RenderedPicture().size(), QSize(200, 100));
    EXPECT_EQ(Pane->RenderedPicture().pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(Pane->Lines().Count(), 1);

    // A resize redraws the blank picture with the lines and shows it again.
    Pane->resize(200, 200);
    EXPECT_TRUE(Pane->InnerImage()->isVisible());
    EXPECT_EQ(Shown(50, 80), qRgb(0, 0, 0));
    EXPECT_TRUE(IsRed(100, 100));
}

TEST_F(PicturePaneTest, APaneOfZeroSizeDrawsNothing)
{
    ASSERT_TRUE(Pane->LoadFromFile(WhitePicture(200, 100)));
    const TRect dest = Pane->DestRect();
    Pane->resize(0, 400);
    EXPECT_EQ(Pane->DestRect(), dest);
    Pane->resize(400, 0);
    EXPECT_EQ(Pane->DestRect(), dest);
    Pane->resize(200, 200);
    EXPECT_EQ(Pane->DestRect(), (TRect{0, 50, 200, 150}));
}

TEST_F(PicturePaneTest, APaneWithoutParentOrPictureDoesNotDraw)
{
    TExtraImage loose;
    loose.resize(100, 100);
    loose.Redraw();
    EXPECT_FALSE(loose.InnerImage()->isVisible());
    EXPECT_TRUE(loose.LoadFromFile(WhitePicture(10, 10)));
    EXPECT_EQ(loose.DestRect(), TRect{});
    Pane->Redraw();
    EXPECT_EQ(Pane->DestRect(), TRect{});
}
