#include <QFontInfo>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>

#include "text_view_fixture.h"

using namespace olve;

namespace {

struct TFragment {
    QString Text;
    QString Face;       // the face the text asked for
    QString Installed;  // the face it is drawn with
};

std::vector<TFragment> Fragments(const QTextDocument* document)
{
    std::vector<TFragment> fragments;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            fragments.push_back({it.fragment().text(), format.fontFamilies().toStringList().value(0),
                                 QFontInfo(format.font()).family()});
        }
    }
    return fragments;
}

}  // namespace

TEST_F(TextViewTest, MixedTextIsLaidOutInLatinAndJapaneseFaces)
{
    Show("Tom said 日本語 \r\nです and left");
    EXPECT_EQ(View->toPlainText(), QString("Tom said 日本語 \nです and left"));
    const std::vector<TFragment> fragments = Fragments(View->document());
    QString latin, japanese;
    for (const TFragment& fragment : fragments) {
        if (fragment.Face == "Georgia") {
            EXPECT_EQ(fragment.Installed, "DejaVu Serif");
            latin += fragment.Text;
        } else {
            EXPECT_EQ(fragment.Face, "ＭＳ Ｐゴシック");
            EXPECT_EQ(fragment.Installed, "Noto Sans CJK JP");
            japanese += fragment.Text;
        }
    }
    // The space and line break after Japanese take the Japanese face, spaces between Latin
    // words the Latin one.
    EXPECT_EQ(latin.toStdString(), "Tom said and left");
    EXPECT_EQ(japanese.toStdString(), "日本語 です ");
    EXPECT_EQ(View->document()->blockCount(), 2);
}

TEST_F(TextViewTest, TheWindowsFaceNamesRenderWithInstalledFaces)
{
    EXPECT_EQ(QFontInfo(QFont("ＭＳ Ｐゴシック")).family(), "Noto Sans CJK JP");
    EXPECT_TRUE(QFontInfo(QFont("ＭＳ ゴシック")).family().startsWith("Noto Sans"));
    EXPECT_EQ(QFontInfo(QFont("Georgia")).family(), "DejaVu Serif");
    const QString comic = QFontInfo(QFont("Comic Sans MS")).family();
    EXPECT_TRUE(comic == "Comic Neue" || comic == "DejaVu Sans") << comic.toStdString();
}

TEST_F(TextViewTest, OneLatinLetterKeepsItsFaceAndLosesTheHelperSpace)
{
    Show("A漢字");
    EXPECT_EQ(View->toPlainText(), QString("A漢字"));
    const std::vector<TFragment> fragments = Fragments(View->document());
    ASSERT_EQ(fragments.size(), 2u);
    EXPECT_EQ(fragments[0].Text, "A");
    EXPECT_EQ(fragments[0].Face, "Georgia");
    EXPECT_EQ(fragments[1].Text, "漢字");
    EXPECT_EQ(fragments[1].Face, "ＭＳ Ｐゴシック");
}

TEST_F(TextViewTest, TheSameTextTwiceChangesNothingButAnEmptyViewIsRefilled)
{
    Show(LongEnglish(12));
    View->verticalScrollBar()->setValue(40);
    QTextCursor selection(View->document());
    selection.setPosition(30);
    selection.setPosition(35, QTextCursor::KeepAnchor);
    View->setTextCursor(selection);
    View->setTextColor(Qt::red);  // the main window's own colouring must survive
    const int scroll = View->verticalScrollBar()->value();

    Show(LongEnglish(12));
    EXPECT_EQ(View->verticalScrollBar()->value(), scroll);
    EXPECT_EQ(View->textCursor().anchor(), 30);
    EXPECT_EQ(View->textCursor().position(), 35);
    EXPECT_EQ(View->textCursor().charFormat().foreground().color(), QColor(Qt::red));

    View->clear();
    Show(LongEnglish(12));
    EXPECT_EQ(View->toPlainText().toStdString(), LongEnglish(12));
}

TEST_F(TextViewTest, ANewTextStartsAtTheTopWithoutTellingTheSelectionHandler)
{
    int changes = 0;
    View->OnSelectionChange = [&] { ++changes; };
    Show(LongEnglish(12));
    Show("Another text");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(View->textCursor().position(), 0);
    EXPECT_EQ(View->verticalScrollBar()->value(), 0);
    MoveCaret(4);
    EXPECT_EQ(changes, 1);
}

TEST_F(TextViewTest, IndentsFollowTheIndentTypeInPoints)
{
    const double px = View->logicalDpiX() / 72.0;
    struct TCase {
        TIndentType Type;
        double First, Following, Right;
    };
    for (const TCase& c : {TCase{itOlve, 10, 24, 10}, TCase{itStandard, 24, 10, 10}, TCase{itFlat, 2, 2, 2},
                           TCase{itDialog, 10, 38, 10}, TCase{static_cast<TIndentType>(9), 10, 24, 10}}) {
        View->SetTextIndent(c.Type);
        View->SetDisplayText("");  // a formatting change shows with the next different text
        Show(LongEnglish(2));
        const QTextBlock block = View->document()->begin();
        const QTextLayout* layout = block.layout();
        ASSERT_GE(layout->lineCount(), 2);
        const double margin = View->document()->documentMargin();
        EXPECT_NEAR(layout->lineAt(0).x(), c.First * px, 0.02) << c.Type;
        EXPECT_NEAR(layout->lineAt(1).x(), c.Following * px, 0.02) << c.Type;
        EXPECT_NEAR(layout->lineAt(1).x() + layout->lineAt(1).width() + c.Right * px,
                    View->viewport()->width() - 2 * margin, 0.02)
            << c.Type;
    }
}

TEST_F(TextViewTest, AlignmentAppliesToEveryParagraphOfTheNextText)
{
    View->SetTextAlign(taCenter);
    Show("centred");
    EXPECT_EQ(View->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    View->SetTextAlign(taRightJustify);
    Show("one\r\ntwo");
    for (QTextBlock block = View->document()->begin(); block.isValid(); block = block.next())
        EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(TextViewTest, LinesPerPageIsTheClientHeightOverTheMeanLineHeight)
{
    Show(LongEnglish(12));
    const int lines = View->LineCount();
    ASSERT_GT(lines, 10);
    EXPECT_EQ(View->LinesPerPage(), View->viewport()->height() / (View->ContentHeight() / lines));
    View->SetDisplayText("");
    EXPECT_EQ(View->LinesPerPage(), View->viewport()->height() / View->ContentHeight());
}

TEST_F(TextViewTest, ScrollingMovesWholeLines)
{
    Show(LongEnglish(12));
    View->LineScroll(3);
    EXPECT_EQ(View->FirstVisibleLine(), 3);
    EXPECT_EQ(View->PosFromChar(0).y() < 0, true);
    View->ScrollToLine(1);
    EXPECT_EQ(View->FirstVisibleLine(), 1);
    View->LineScroll(-5);
    EXPECT_EQ(View->FirstVisibleLine(), 0);
    EXPECT_EQ(View->verticalScrollBar()->value(), 0);
}

TEST_F(TextViewTest, ScrollToCharCentresALineBelowThePageAndTopsOneAbove)
{
    Show(LongEnglish(24));
    const int page = View->LinesPerPage();
    ASSERT_GT(View->LineCount(), 3 * page);
    const std::string text = View->DisplayText();
    const int offset = static_cast<int>(text.find("number 9."));
    const int line = View->LineFromChar(View->ViewPosition(offset));
    ASSERT_GE(line, page);
    View->ScrollToChar(offset);
    EXPECT_EQ(View->FirstVisibleLine(), line - page / 2);

    View->ScrollToChar(static_cast<int>(text.find("number 1.")));
    EXPECT_EQ(View->FirstVisibleLine(), View->LineFromChar(View->ViewPosition(static_cast<int>(text.find("number 1.")))));

    const int before = View->FirstVisibleLine();
    View->ScrollToChar(static_cast<int>(text.find("number 2.")));  // already on the page
    EXPECT_EQ(View->FirstVisibleLine(), before);
}

TEST_F(TextViewTest, TheCaretBelowThePageComesToTheSecondLine)
{
    Show(LongEnglish(24));
    const int page = View->LinesPerPage();
    // The first character of the line just below the page.
    int position = 0;
    while (View->LineFromChar(position) < page)
        ++position;
    MoveCaret(position);
    EXPECT_EQ(View->FirstVisibleLine(), page - 1);
    EXPECT_EQ(View->LineFromChar(-1), View->FirstVisibleLine() + 1);
}

TEST_F(TextViewTest, TheCaretOnTheLastVisibleLineScrollsOneLineUnlessTheTopIsShown)
{
    Show(LongEnglish(24));
    const int page = View->LinesPerPage();
    auto firstOfLine = [&](int line) {
        int position = 0;
        while (View->LineFromChar(position) < line)
            ++position;
        return position;
    };
    MoveCaret(firstOfLine(page - 1));
    EXPECT_EQ(View->FirstVisibleLine(), 0);

    View->LineScroll(2);
    MoveCaret(firstOfLine(2 + page - 1));
    EXPECT_EQ(View->FirstVisibleLine(), 3);

    MoveCaret(0);  // above the page: to the top
    EXPECT_EQ(View->FirstVisibleLine(), 0);
}

TEST_F(TextViewTest, ADoubleClickArrivesAsTwoPressesWithoutWordSelection)
{
    Show("double click here");
    int presses = 0;
    View->OnMouseDown = [&](QMouseEvent*) { ++presses; };
    // Through the window, so the application makes the double click out of two presses.
    const QPoint word = View->viewport()->mapTo(Window.get(), View->cursorRect(QTextCursor(View->document())).center() + QPoint(3, 0));
    QTest::mouseDClick(Window->windowHandle(), Qt::LeftButton, Qt::NoModifier, word);
    EXPECT_EQ(presses, 2);
    EXPECT_FALSE(View->textCursor().hasSelection());
}

TEST_F(TextViewTest, ContentHeightIsReportedAndMeasuresTheLineHeight)
{
    int reports = 0;
    TNewULEdit plain(Window.get());
    plain.setGeometry(0, 0, 300, 100);
    plain.SetSBCSFontName("Georgia");
    plain.setFont(View->font());
    plain.show();
    plain.OnResizeRequest = [&] { ++reports; };
    plain.SetDisplayText("Wg");
    EXPECT_GE(reports, 1);
    EXPECT_EQ(plain.ContentHeight(), qRound(plain.document()->begin().layout()->lineAt(0).height()));

    // The main view measures a line that holds a full-width bracket, as tall as a Japanese line.
    Show("日本");
    EXPECT_EQ(View->LineHeight(), View->ContentHeight());
    EXPECT_GT(View->LineHeight(), QFontMetrics(QFont("Georgia", 14)).height());
}

TEST_F(TextViewTest, MeasureCharUsesTheFaceOfTheCharactersRun)
{
    Show("x");
    const std::string text = Utf8ToCp932("W日");
    QFont latin = View->font();
    latin.setFamilies({"Georgia"});
    QFont japanese = View->font();
    japanese.setFamilies({"ＭＳ Ｐゴシック"});
    EXPECT_EQ(View->MeasureChar(text, 1), QFontMetrics(latin).horizontalAdvance("W"));
    EXPECT_EQ(View->MeasureChar(text, 2), QFontMetrics(japanese).horizontalAdvance("日"));
    EXPECT_EQ(View->MeasureChar(text, 9), 0);
}
