#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "picture/poly_point_list_ex.h"

using namespace olve;

namespace {

constexpr TColor Red = 255;
constexpr TColor Blue = 16711680;

// Three horizontal lines at y = 10, 30 and 50.
TPolyPointListEx ThreeLines()
{
    TPolyPointListEx lines;
    for (int y : {10, 30, 50}) {
        lines.StartPolyline({10, y}, y == 30 ? Blue : Red, 4);
        lines.AddPoint({50, y});
        lines.AddPoint({90, y});
    }
    return lines;
}

QImage Drawn(const TPolyPointListEx& lines)
{
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    lines.Draw(painter);
    return image;
}

bool Marked(const QImage& image, int y)
{
    return image.pixel(50, y) != qRgb(255, 255, 255);
}

}  // namespace

TEST(ShapeLists, PointsAreSplitIntoPolylines)
{
    const TPolyPointListEx lines = ThreeLines();
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.CurrentIndex(), 2);
    EXPECT_EQ(lines.Counts(), (TAryInteger{3, 3, 3}));
    EXPECT_EQ(lines.Points().size(), 9u);
    EXPECT_EQ(lines.Points()[3], (TPoint{10, 30}));
    EXPECT_EQ(lines.Colors(), (TAryColor{Red, Blue, Red}));
    EXPECT_EQ(lines.Widths(), (TAryInteger{4, 4, 4}));
}

TEST(ShapeLists, UndoneLinesStayUntilANewLineStarts)
{
    TPolyPointListEx lines = ThreeLines();
    lines.Undo();
    lines.Undo();
    EXPECT_EQ(lines.Count(), 3);
    QImage image = Drawn(lines);
    EXPECT_TRUE(Marked(image, 10));
    EXPECT_FALSE(Marked(image, 30));
    EXPECT_FALSE(Marked(image, 50));

    lines.Redo();
    image = Drawn(lines);
    EXPECT_TRUE(Marked(image, 30));
    EXPECT_EQ(image.pixel(50, 30), qRgb(0, 0, 255));
    EXPECT_FALSE(Marked(image, 50));

    lines.StartPolyline({5, 5}, Blue, 2);
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.CurrentIndex(), 2);
    EXPECT_EQ(lines.Points().size(), 7u);
    EXPECT_EQ(lines.Colors(), (TAryColor{Red, Blue, Blue}));
    EXPECT_EQ(lines.Widths(), (TAryInteger{4, 4, 2}));
    lines.Redo();
    EXPECT_EQ(lines.CurrentIndex(), 2);
}

TEST(ShapeLists, UndoAndRedoStopAtTheEnds)
{
    TPolyPointListEx lines = ThreeLines();
    lines.Redo();
    EXPECT_EQ(lines.CurrentIndex(), 2);
    for (int i = 0; i < 5; ++i)
        lines.Undo();
    EXPECT_EQ(lines.CurrentIndex(), -1);
    EXPECT_FALSE(Marked(Drawn(lines), 10));
}

TEST(ShapeLists, AddPointOnAnEmptyListMakesAnUndoneLine)
{
    TPolyPointList lines;
    lines.AddPoint({1, 2});
    lines.AddPoint({3, 4});
    EXPECT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Counts(), (TAryInteger{2}));
    EXPECT_EQ(lines.CurrentIndex(), -1);
    lines.Redo();
    EXPECT_EQ(lines.CurrentIndex(), 0);

    // Without a pen of its own such a line is not drawn, and draws nothing after it.
    TPolyPointListEx penless;
    penless.AddPoint({10, 10});
    penless.AddPoint({90, 10});
    penless.Redo();
    EXPECT_FALSE(Marked(Drawn(penless), 10));
}

TEST(ShapeLists, ClearEmptiesEverything)
{
    TPolyPointListEx lines = ThreeLines();
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(lines.CurrentIndex(), -1);
    EXPECT_TRUE(lines.Points().empty());
    EXPECT_TRUE(lines.Colors().empty());
    EXPECT_TRUE(lines.Widths().empty());
}

TEST(ShapeLists, RemoveLastDropsTheLastLineAndKeepsTheCurrentIndexInRange)
{
    TPolyPointListEx lines = ThreeLines();
    lines.RemoveLast();
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Points().size(), 6u);
    EXPECT_EQ(lines.CurrentIndex(), 1);
    EXPECT_FALSE(Marked(Drawn(lines), 50));
    lines.RemoveLast();
    lines.RemoveLast();
    lines.RemoveLast();
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(lines.CurrentIndex(), -1);
}

TEST(ShapeLists, CopiesAreDeep)
{
    const TPolyPointListEx original = ThreeLines();
    TPolyPointListEx copy;
    copy.CopyFrom(original);
    copy.Undo();
    copy.MapPoints([](TPoint p) { return TPoint{p.x * 2, p.y * 2}; });
    EXPECT_EQ(original.CurrentIndex(), 2);
    EXPECT_EQ(original.Points()[0], (TPoint{10, 10}));
    EXPECT_EQ(copy.Points()[0], (TPoint{20, 20}));
    EXPECT_EQ(copy.Colors(), original.Colors());

    TPointList points;
    points.CopyPoints(original);
    EXPECT_EQ(points.Points(), original.Points());
}

TEST(ShapeLists, APolylineOfOnePointLeavesNoMark)
{
    TPolyPointListEx lines;
    lines.StartPolyline({50, 30}, Red, 8);
    const QImage image = Drawn(lines);
    EXPECT_FALSE(Marked(image, 30));
    lines.AddPoint({60, 30});
    EXPECT_TRUE(Marked(Drawn(lines), 30));
}
