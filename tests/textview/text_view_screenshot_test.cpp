// Renders the main text view with a spoken range underlined and writes it as a PNG for
// people to look at; the bars are checked to be blue and below the words' ink.
#include <QDir>
#include <QImage>

#include "text_view_fixture.h"

using namespace olve;

namespace {

bool IsBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 128 && !IsBlue(pixel);
}

}  // namespace

TEST_F(TextViewTest, ScreenshotShowsBarsUnderTheSpokenWords)
{
    QPalette palette = View->palette();
    palette.setColor(QPalette::Base, QColor(206, 227, 247));
    View->setPalette(palette);
    View->SetTextIndent(itStandard);
    View->SetShowUnderline(true);
    const std::string text = Utf8ToCp932(
        "Good morning, everybody. Today we are going to talk about 日本の四季, "
        "the four seasons of Japan.\r\n春 is spring, 夏 is summer.");
    View->SetDisplayText(text);
    const std::string spoken = Utf8ToCp932("going to talk about 日本の四季, the four seasons");
    View->SetUnderlineStart(static_cast<int>(text.find(spoken)));
    View->SetUnderlineLength(static_cast<int>(spoken.size()));
    View->UpdateUnderline();
    ASSERT_GE(View->Bars().size(), 2u);

    const QImage shot = Window->grab().toImage();
    const QString folder = QStringLiteral(OLVE_BIN_DIR "/../screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(shot.save(folder + "/textview_underline.png"));

    for (const TUnderLine* bar : View->Bars()) {
        const QRect r = bar->geometry();
        EXPECT_TRUE(IsBlue(shot.pixel(r.center()))) << r.x() << "," << r.y();
        // The words stand above the bar: ink in the rows just above it, none on it.
        int inkAbove = 0;
        for (int x = r.left(); x <= r.right(); ++x) {
            for (int y = r.top() - 12; y < r.top(); ++y)
                inkAbove += IsInk(shot.pixel(x, y)) ? 1 : 0;
            EXPECT_TRUE(IsBlue(shot.pixel(x, r.top()))) << x;
        }
        EXPECT_GT(inkAbove, r.width() / 4);
    }
}
