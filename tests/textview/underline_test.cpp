#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>

#include "text_view_fixture.h"

using namespace olve;

namespace {

// The first view position of a visual line.
int FirstOfLine(const TNewEdit& view, int line)
{
    int position = 0;
    while (position < view.TextLength() && view.LineFromChar(position) < line)
        ++position;
    return position;
}

int Right(const QWidget* bar)
{
    return bar->x() + bar->width();
}

}  // namespace

class Underline : public TextViewTest {
protected:
    void SetUp() override
    {
        TextViewTest::SetUp();
        View->SetShowUnderline(true);
    }
    void Underlined(int start, int length)
    {
        View->SetUnderlineStart(start);
        View->SetUnderlineLength(length);
        View->UpdateUnderline();
    }
    // The right edge of a character, from its left edge and its measured width.
    int RightEdge(int position) const { return CharRect(position).x() + View->MeasureChar(View->DisplayText(), position + 1); }
    // A bar that ends a wrapped line reaches past the line's last word; the space the line
    // wrapped at may be squeezed to the view's edge.
    void ExpectEndOfLine(int right, int nextLineStart) const
    {
        const int lastWordEnd = nextLineStart - 1;
        ASSERT_EQ(View->DisplayText()[lastWordEnd], ' ');
        EXPECT_NEAR(CharRect(lastWordEnd).x(), RightEdge(lastWordEnd - 1), 1);
        EXPECT_GE(right, RightEdge(lastWordEnd - 1));
        EXPECT_LE(right, RightEdge(lastWordEnd));
    }
};

TEST_F(Underline, ARangeOverThreeLinesGetsOneBarPerLineUnderItsCharacters)
{
    Show(LongEnglish(6));
    const int start = static_cast<int>(View->DisplayText().find("brown"));
    const int line = View->LineFromChar(start);
    const int second = FirstOfLine(*View, line + 1);
    const int third = FirstOfLine(*View, line + 2);
    const int end = third + 5;
    ASSERT_EQ(View->LineFromChar(end), line + 2);
    Underlined(start, end - start);

    const std::vector<TUnderLine*> bars = View->Bars();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0]->x(), CharRect(start).x());
    ExpectEndOfLine(Right(bars[0]), second);
    EXPECT_EQ(bars[1]->x(), CharRect(second).x());
    ExpectEndOfLine(Right(bars[1]), third);
    EXPECT_EQ(bars[2]->x(), CharRect(third).x());
    EXPECT_EQ(Right(bars[2]), CharRect(end).x());
    // Each bar lies on the bottom of its own line.
    EXPECT_EQ(bars[0]->y(), CharRect(start).bottom() + 1);
    EXPECT_EQ(bars[1]->y(), CharRect(second).bottom() + 1);
    EXPECT_EQ(bars[2]->y(), CharRect(third).bottom() + 1);
    for (const TUnderLine* bar : bars) {
        EXPECT_TRUE(bar->isVisible());
        EXPECT_FALSE(bar->isEnabled());
        EXPECT_EQ(bar->parentWidget(), Window.get());
        EXPECT_EQ(bar->Owner(), View);
        EXPECT_GT(Window->children().indexOf(bar), Window->children().indexOf(View));
    }
}

TEST_F(Underline, OffsetsCountTheTextAsHandedOverInBytesWithCrLf)
{
    Show("これは pen です");
    Underlined(7, 3);  // "これは " is seven bytes
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(4).x());
    EXPECT_EQ(Right(View->Bars()[0]), CharRect(7).x());
    EXPECT_EQ(View->Bars()[0]->y(), CharRect(4).bottom() + 1);

    Show("first line\r\nsecond");
    Underlined(12, 6);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(11).x());
    EXPECT_EQ(Right(View->Bars()[0]), CharRect(17).x());
    EXPECT_EQ(View->Bars()[0]->y(), CharRect(11).bottom() + 1);
}

TEST_F(Underline, LineBreaksEndingTheRangeAreNotUnderlined)
{
    Show("Hello world\r\nsecond line");
    Underlined(6, 7);  // "world" CR LF
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(6).x());
    EXPECT_EQ(Right(View->Bars()[0]), CharRect(11).x());

    Show("ab\r\n\r\ncd");
    Underlined(2, 4);
    EXPECT_TRUE(View->Bars().empty());
}

TEST_F(Underline, TheRangeIsCutToTheText)
{
    Show("short text");
    Underlined(-5, 10);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(0).x());
    EXPECT_EQ(Right(View->Bars()[0]), CharRect(5).x());

    Underlined(6, 2147483647);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(Right(View->Bars()[0]), CharRect(10).x());

    Underlined(3, 0);
    EXPECT_TRUE(View->Bars().empty());
    Underlined(3, -4);
    EXPECT_TRUE(View->Bars().empty());
    Underlined(40, 5);
    EXPECT_TRUE(View->Bars().empty());
}

TEST_F(Underline, BarsOutsideTheViewAreSkippedOrEndTheLayout)
{
    Show(LongEnglish(24));
    ASSERT_GT(View->LineCount(), View->LinesPerPage() + 4);
    Underlined(0, static_cast<int>(View->DisplayText().size()));
    const QRect shown(View->pos() + View->viewport()->pos(), View->viewport()->size());
    std::vector<TUnderLine*> bars = View->Bars();
    ASSERT_GE(static_cast<int>(bars.size()), View->LinesPerPage() - 1);
    EXPECT_LT(static_cast<int>(bars.size()), View->LineCount());
    for (const TUnderLine* bar : bars) {
        EXPECT_GT(bar->y(), shown.top());
        EXPECT_LT(bar->y(), shown.top() + shown.height());
    }

    View->LineScroll(3);
    bars = View->Bars();
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars[0]->y(), CharRect(FirstOfLine(*View, 3)).bottom() + 1);
    EXPECT_EQ(bars[0]->x(), CharRect(FirstOfLine(*View, 3)).x());
}

TEST_F(Underline, BarHeightGrowsWithTheFontAboveFifteenPixels)
{
    ASSERT_EQ(View->logicalDpiY(), 96);
    for (auto [points, height] : {std::pair{8, 1}, {11, 1}, {12, 2}, {14, 2}, {24, 4}, {36, 6}}) {
        SetPointSize(points);
        Show("size " + std::to_string(points));
        Underlined(0, 4);
        ASSERT_EQ(View->Bars().size(), 1u) << points;
        EXPECT_EQ(View->Bars()[0]->height(), height) << points;
    }
}

TEST_F(Underline, UnchangedEndPointsKeepTheBarsAndMovedOnesReplaceThem)
{
    Show(LongEnglish(6));
    Underlined(10, 80);
    const std::vector<TUnderLine*> bars = View->Bars();
    ASSERT_FALSE(bars.empty());
    View->UpdateUnderline();
    View->SetShowUnderline(true);
    View->SetDisplayText(View->DisplayText());
    EXPECT_EQ(View->Bars(), bars);

    const int right = Right(bars.back());
    std::vector<QPointer<TUnderLine>> old(bars.begin(), bars.end());
    Underlined(10, 81);
    for (const QPointer<TUnderLine>& bar : old)
        EXPECT_TRUE(bar.isNull());
    ASSERT_EQ(View->Bars().size(), bars.size());
    EXPECT_GT(Right(View->Bars().back()), right);
}

TEST_F(Underline, BarsFollowScrollingAndResizing)
{
    Show(LongEnglish(12));
    const int start = static_cast<int>(View->DisplayText().find("quick"));
    Underlined(start, 5);
    ASSERT_EQ(View->Bars().size(), 1u);
    const int y = View->Bars()[0]->y();

    View->verticalScrollBar()->setValue(View->verticalScrollBar()->value() + 17);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->y(), y - 17);

    View->verticalScrollBar()->setValue(0);
    View->resize(200, 200);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(start).x());
    EXPECT_EQ(View->Bars()[0]->y(), CharRect(start).bottom() + 1);

    View->move(30, 40);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->x(), CharRect(start).x());
}

TEST_F(Underline, AWheelScrollMovesTheBarsWithTheText)
{
    Show(LongEnglish(12));
    const int start = static_cast<int>(View->DisplayText().find("number 1"));
    Underlined(start, 8);
    ASSERT_EQ(View->Bars().size(), 1u);
    const QPoint at = View->viewport()->rect().center();
    QWheelEvent wheel(at, View->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(View->viewport(), &wheel);
    ASSERT_GT(View->verticalScrollBar()->value(), 0);
    ASSERT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(View->Bars()[0]->y(), CharRect(start).bottom() + 1);
}

TEST_F(Underline, AHiddenViewShowsNoBars)
{
    Show("spoken words");
    Underlined(0, 6);
    ASSERT_EQ(View->Bars().size(), 1u);
    View->hide();
    EXPECT_TRUE(View->Bars().empty());
    View->show();
    EXPECT_EQ(View->Bars().size(), 1u);
}

TEST_F(Underline, SwitchingOffResettingAndDestroyingRemoveTheBars)
{
    Show("spoken words");
    Underlined(0, 6);
    ASSERT_EQ(View->Bars().size(), 1u);
    View->SetShowUnderline(false);
    EXPECT_TRUE(View->Bars().empty());

    View->SetShowUnderline(true);
    ASSERT_EQ(View->Bars().size(), 1u);
    View->ResetUnderline();
    EXPECT_TRUE(View->Bars().empty());
    EXPECT_EQ(View->UnderlineStart(), 0);
    EXPECT_EQ(View->UnderlineLength(), 0);
    EXPECT_TRUE(View->ShowUnderline());

    Underlined(0, 6);
    ASSERT_EQ(Window->findChildren<TUnderLine*>().size(), 1);
    delete View;
    View = nullptr;
    EXPECT_TRUE(Window->findChildren<TUnderLine*>().isEmpty());
}

TEST_F(Underline, EachViewKeepsItsOwnBars)
{
    auto* sub = new TNewULEditNet(Window.get());
    sub->setGeometry(10, 230, 300, 64);
    sub->setFont(View->font());
    sub->show();
    sub->SetShowUnderline(true);
    sub->SetDisplayText("sub text");
    sub->SetUnderlineLength(3);
    sub->UpdateUnderline();
    Show("main text");
    Underlined(0, 4);
    ASSERT_EQ(View->Bars().size(), 1u);
    ASSERT_EQ(sub->Bars().size(), 1u);
    sub->ClearUnderline();
    EXPECT_EQ(View->Bars().size(), 1u);
    EXPECT_EQ(Window->findChildren<TUnderLine*>().size(), 1);
}

// A text of many paragraphs, several hundred lines long in the view.
class UnderlineInALongText : public Underline {
protected:
    void SetUp() override
    {
        Underline::SetUp();
        std::string text;
        for (int i = 0; i < 60; ++i)
            text += LongEnglish(4) + "\r\n";
        Show(text);
        // The document reports its height to the scroll bar from the event loop.
        QCoreApplication::processEvents();
        ASSERT_GT(View->LineCount(), 20 * View->LinesPerPage());
    }

    // The first position of every visual line, as the document lays them out.
    std::vector<int> LineStarts() const
    {
        std::vector<int> starts;
        for (QTextBlock block = View->document()->begin(); block.isValid(); block = block.next()) {
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                starts.push_back(block.position() + block.layout()->lineAt(i).textStart());
        }
        starts.push_back(View->TextLength() + 1);
        return starts;
    }

    // Text offset of a position: each paragraph before it ends in two bytes, CR LF.
    int Offset(int position) const { return position + View->document()->findBlock(position).blockNumber(); }
    int RightEdgeAt(int position) const
    {
        return CharRect(position).x() + View->MeasureChar(View->DisplayText(), Offset(position) + 1);
    }
    // The bar of a line wrapped at a space reaches past its last word, at most over the space.
    void ExpectEndOfWrappedLine(int right, int space) const
    {
        ASSERT_EQ(View->document()->characterAt(space), QChar(' '));
        EXPECT_GE(right, RightEdgeAt(space - 1));
        EXPECT_LE(right, RightEdgeAt(space));
    }

    // Underlines view positions [start, end).
    void UnderlinedBetween(int start, int end) { Underlined(Offset(start), Offset(end) - Offset(start)); }

    // One bar under each line in view that holds part of [start, end), and no other bar.
    void ExpectBarsUnderTheRangeInView(int start, int end) const
    {
        const int shownTop = View->y() + View->viewport()->y();
        const int shownBottom = shownTop + View->viewport()->height();
        const std::vector<int> starts = LineStarts();
        std::vector<TUnderLine*> bars = View->Bars();
        EXPECT_EQ(Window->findChildren<TUnderLine*>().size(), static_cast<qsizetype>(bars.size()));
        std::size_t bar = 0;
        int inView = 0;
        for (std::size_t line = 0; line + 1 < starts.size(); ++line) {
            const int first = std::max(start, starts[line]);
            const int last = starts[line + 1] - 1;  // the line's final character
            const int barTop = CharRect(starts[line]).bottom() + 1;
            EXPECT_EQ(View->LineFromChar(starts[line]), static_cast<int>(line));
            if (barTop <= shownTop || barTop >= shownBottom)
                continue;
            ++inView;
            if (first > last || first >= end)
                continue;
            ASSERT_LT(bar, bars.size()) << "no bar for line " << line;
            EXPECT_EQ(bars[bar]->x(), CharRect(first).x()) << line;
            EXPECT_EQ(bars[bar]->y(), barTop) << line;
            if (end <= last)
                EXPECT_EQ(Right(bars[bar]), CharRect(end).x()) << line;
            else if (View->document()->characterAt(last) == QChar::ParagraphSeparator)
                EXPECT_EQ(Right(bars[bar]), CharRect(last).x()) << line;
            else
                ExpectEndOfWrappedLine(Right(bars[bar]), last);
            ++bar;
        }
        EXPECT_EQ(bar, bars.size());
        EXPECT_GE(inView, View->LinesPerPage() - 1);
    }
};

TEST_F(UnderlineInALongText, ScrolledToTheMiddleOnlyTheLinesInViewGetBarsUnderTheSpokenWords)
{
    const int start = 150;
    const int end = View->TextLength() - 150;
    UnderlinedBetween(start, end);
    View->ScrollToLine(View->LineCount() / 2);
    ASSERT_GT(View->verticalScrollBar()->value(), 0);
    ExpectBarsUnderTheRangeInView(start, end);

    // A range ending in view, and one starting in view.
    const std::vector<int> starts = LineStarts();
    const int middle = starts[static_cast<std::size_t>(View->FirstVisibleLine() + 3)] + 7;
    UnderlinedBetween(start, middle);
    ExpectBarsUnderTheRangeInView(start, middle);
    UnderlinedBetween(middle, end);
    ExpectBarsUnderTheRangeInView(middle, end);
    // A range wholly above the view.
    UnderlinedBetween(start, start + 40);
    EXPECT_TRUE(View->Bars().empty());
}

TEST_F(UnderlineInALongText, ScrollingMovesTheBarsToTheLinesNowInView)
{
    const int start = 150;
    const int end = View->TextLength() - 150;
    UnderlinedBetween(start, end);
    View->ScrollToLine(View->LineCount() / 2);
    View->LineScroll(3);
    ExpectBarsUnderTheRangeInView(start, end);
    View->verticalScrollBar()->setValue(View->verticalScrollBar()->value() + 17);
    ExpectBarsUnderTheRangeInView(start, end);
    View->ScrollToChar(end);
    ExpectBarsUnderTheRangeInView(start, end);
    View->verticalScrollBar()->setValue(0);
    ExpectBarsUnderTheRangeInView(start, end);
}

TEST_F(Underline, ALineGrownInsideTheRangeMovesItsBarThoughTheRangesEndsStay)
{
    Show(LongEnglish(6));
    const int start = static_cast<int>(View->DisplayText().find("brown"));
    const int line = View->LineFromChar(start);
    const int second = FirstOfLine(*View, line + 1);
    Underlined(start, second + 4 - start);
    ASSERT_EQ(View->Bars().size(), 2u);

    // A larger letter just after the range's end makes the second line taller; the ends of
    // the range keep their places.
    const QPoint end = View->PosFromChar(second + 4);
    const int bottom = CharRect(second).bottom();
    QTextCursor letter(View->document());
    letter.setPosition(second + 6);
    letter.setPosition(second + 7, QTextCursor::KeepAnchor);
    QTextCharFormat large;
    large.setFontPointSize(40);
    letter.mergeCharFormat(large);
    ASSERT_EQ(View->PosFromChar(second + 4), end);
    ASSERT_EQ(View->LineFromChar(second + 6), line + 1);
    ASSERT_GT(CharRect(second).bottom(), bottom);

    View->UpdateUnderline();
    ASSERT_EQ(View->Bars().size(), 2u);
    EXPECT_EQ(View->Bars()[1]->y(), CharRect(second).bottom() + 1);
    EXPECT_EQ(View->Bars()[0]->y(), CharRect(start).bottom() + 1);
}

// Showing the window shows the view among its siblings, and the view lays its bars anew
// while the window goes through them.
TEST_F(Underline, TheWindowShownAgainShowsOneSetOfBars)
{
    Show(LongEnglish(6));
    Underlined(0, 300);
    ASSERT_GT(View->Bars().size(), 1u);
    for (int i = 0; i < 20; ++i) {
        Window->hide();
        Window->show();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Window->findChildren<TUnderLine*>().size(), static_cast<qsizetype>(View->Bars().size()));
}
