// Renders the picture pane with a photo-like picture and lines drawn with the mouse, and
// writes it as a PNG for people to look at.
#include <QDir>
#include <QPainter>

#include "picture_pane_fixture.h"

using namespace olve;

TEST_F(PicturePaneTest, ScreenshotShowsLinesOverTheFittedPicture)
{
    QImage photo(1200, 800, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, 0, 800);
    sky.setColorAt(0, QColor(90, 150, 230));
    sky.setColorAt(1, QColor(230, 240, 255));
    painter.fillRect(photo.rect(), sky);
    painter.setBrush(QColor(60, 140, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(400, 900), 700, 350);
    painter.setBrush(QColor(250, 220, 60));
    painter.drawEllipse(QPoint(950, 180), 90, 90);
    painter.end();
    ASSERT_TRUE(WriteJpeg(Folder / "photo.jpg", photo));

    Window->resize(480, 400);
    Pane->resize(480, 400);
    ASSERT_TRUE(Pane->LoadFromFile(QString::fromStdString(Folder / "photo.jpg")));
    // A circle round the sun, freehand, and a Ctrl-click zigzag.
    const QPoint sun = QPoint(950 * 480 / 1200, 40 + 180 * 480 / 1200);
    Press(sun + QPoint(40, 0));
    for (int degree = 10; degree <= 360; degree += 10) {
        const double r = degree * 3.14159265 / 180;
        MoveHeld(sun + QPoint(static_cast<int>(40 * std::cos(r)), static_cast<int>(40 * std::sin(r))));
    }
    Release(sun + QPoint(40, 0));
    CtrlClick({40, 300});
    CtrlClick({120, 220});
    CtrlClick({200, 300});
    Press({280, 220});
    Release({280, 220});

    const QImage shot = Window->grab().toImage();
    const QString folder = QStringLiteral(OLVE_BIN_DIR "/../screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(shot.save(folder + "/picture_lines.png"));
    EXPECT_EQ(Pane->Lines().Count(), 2);
    EXPECT_TRUE(IsRed(120, 220));
    EXPECT_TRUE(IsRed(sun.x() - 40, sun.y()));
    EXPECT_EQ(shot.pixel(240, 20), qRgb(0, 0, 0));  // the band above the fitted picture
}
