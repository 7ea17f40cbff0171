#include "app/text_pane.h"

#include <QApplication>
#include <QTextCursor>

#include "app/card_text_show.h"
#include "app/pane_divider.h"
#include "app/resume_notice.h"
#include "lesson/lesson_player.h"
#include "title/pane_fit.h"

namespace olve {

namespace {

const QColor MainTextBackground(206, 227, 247);
constexpr int DividerHeight = 6;

bool IsCardList(TDisplayMode mode)
{
    return mode == TDisplayMode::List || mode == TDisplayMode::ListPic;
}

bool HasSubText(const TPlayCardList& cards)
{
    for (int i = 0; i < cards.Count(); ++i) {
        const std::string& text = cards.Card(i).SubText;
        for (char c : text)
            if (static_cast<unsigned char>(c) > ' ')
                return true;
    }
    return false;
}

void SetFontSize(TNewULEditNet* view, int size)
{
    QFont font = view->font();
    font.setPointSize(size);
    view->setFont(font);
    const auto handler = view->OnSelectionChange;
    view->OnSelectionChange = nullptr;
    const QTextCursor kept = view->textCursor();
    QTextCursor all(view->document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontPointSize(size);
    all.mergeCharFormat(format);
    view->setTextCursor(kept);
    view->OnSelectionChange = handler;
    view->UpdateUnderline();
    view->viewport()->update();
}

}  // namespace

TTextPane::TTextPane(QWidget* parent, TLessonPlayer& lesson) : QWidget(parent), FLesson(lesson)
{
    setObjectName("pnText");
    setAutoFillBackground(true);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    setPalette(panel);

    FMainView = MakeView("_MainText");
    FMainView->SetShowUnderline(true);
    FMainView->OnMouseDown = [this](QMouseEvent* event) { FCardText->Click(event); };
    FSubView = MakeView("_SubText");
    FSubView->SetShowUnderline(false);
    FSubView->hide();
    FCardText = std::make_unique<TCardTextShow>(*FMainView, *FSubView, FLesson);

    pnDivider = new TPaneDivider(this);
    pnDivider->OnDrag = [this](int y) { DragDivider(y); };
    FSubWanted = DefaultSubHeight;
    FMainFontSize = FMainView->font().pointSize();
    // Laid out once the new text has been laid out, not inside its layout.
    FSubView->OnResizeRequest = [this] { QMetaObject::invokeMethod(this, &TTextPane::LayOut, Qt::QueuedConnection); };
    FResume = new TResumeNotice(this);
    setMinimumSize(100, 100);

    connect(&FLesson, &TLessonPlayer::CardChosen, FResume, &TResumeNotice::Withdraw);
    connect(&FLesson, &TLessonPlayer::CardShown, this, &TTextPane::ShowCard);
    connect(&FLesson, &TLessonPlayer::TopShown, this, &TTextPane::ShowTop);
    connect(&FLesson, &TLessonPlayer::CardsChanged, this, [this] { FCardText->Forget(); });
}

TTextPane::~TTextPane() = default;

TNewULEditNet* TTextPane::MakeView(const char* name)
{
    auto* view = new TNewULEditNet(this);
    view->setObjectName(QString("TNewULEditNet") + name);
    view->setReadOnly(true);
    QPalette p = view->palette();
    p.setColor(QPalette::Base, MainTextBackground);
    view->setPalette(p);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont font = view->font();
    font.setPointSize(14);
    view->setFont(font);
    view->SetDBCSFontName(QStringLiteral("ＭＳ Ｐゴシック"));
    view->SetDBCSCharset(1);
    view->SetSBCSFontName("Georgia");
    view->SetSBCSCharset(1);
    view->SetTextIndent(itStandard);
    return view;
}

void TTextPane::HoldGrid(QTableWidget* grid)
{
    FGrid = grid;
    // Beneath the views and the notice, which show over it.
    FGrid->stackUnder(FMainView);
    FGrid->setGeometry(rect());
}

void TTextPane::SetDisplayMode(TDisplayMode mode, int subHeight)
{
    FCardList = IsCardList(mode);
    FMainView->setVisible(!FCardList);
    FSubView->setVisible(!FCardList);
    if (FGrid)
        FGrid->setVisible(FCardList);
    FSubWanted = subHeight;
}

void TTextPane::TakeTitle(const TTitleDisplay& display)
{
    if (display.StandardIndent)
        FMainView->SetTextIndent(itStandard);
    FShowCursor = display.ShowCursor;
    FShowUnderline = display.ShowUnderline;
    if (!FCardList)
        FSubView->setVisible(HasSubText(FLesson.Package()->MainCards));
}

void TTextPane::ClearText()
{
    FMainView->ResetUnderline();
    FMainView->SetDisplayText(std::string());
}

void TTextPane::FocusText()
{
    if (FMainView->focusPolicy() != Qt::NoFocus)
        FMainView->setFocus();
}

void TTextPane::ShowCard(int i, std::int64_t position, bool changed)
{
    if (FCardList) {
        FCardText->Forget();
        return;
    }
    FCardText->Show(FLesson.Package()->MainCards.Card(i), i, position, changed, {FShowCursor, FShowUnderline, isActiveWindow()});
}

void TTextPane::ShowTop()
{
    FCardText->ShowTop(FLesson.Package()->MainCards.Card(0));
}

void TTextPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TTextPane::LayOut()
{
    const QRect area = rect();
    const bool sub = FSubView->isVisibleTo(this);
    const int subHeight = sub ? SubViewHeight(FSubWanted, SubViewFit(), area.height() - DividerHeight) : 0;
    const int mainHeight = area.height() - (sub ? subHeight + DividerHeight : 0);
    FMainView->setGeometry(0, 0, area.width(), mainHeight);
    pnDivider->setGeometry(0, mainHeight, area.width(), DividerHeight);
    pnDivider->setVisible(sub);
    FSubView->setGeometry(0, area.height() - subHeight, area.width(), subHeight);
    PlaceResumeNotice();
    if (FGrid)
        FGrid->setGeometry(area);
    ApplyMainFontSize();
}

// The height that shows the whole Japanese text without scrolling.
int TTextPane::SubViewFit() const
{
    return FSubView->ContentHeight() + qRound(2 * FSubView->document()->documentMargin()) + 2 * FSubView->frameWidth();
}

void TTextPane::DragDivider(int y)
{
    // Kept as it is shown, so that a drag past either end is not saved as it was asked.
    FSubWanted = SubViewHeight(height() - y - DividerHeight / 2, 0, height() - DividerHeight);
    LayOut();
}

void TTextPane::ApplyMainFontSize()
{
    int size = FMainFontSize;
    for (int step = FontBandSteps(width(), height()); step > 0 && NextFontSize(size, true) != 0; --step)
        size = NextFontSize(size, true);
    if (FMainView->font().pointSize() != size)
        SetFontSize(FMainView, size);
}

void TTextPane::StepFontSize(bool main, int delta)
{
    if (delta != -1 && delta != 1)
        return;
    const int size = NextFontSize(main ? FMainFontSize : SubFontSize(), delta == 1);
    if (size == 0)
        return;
    if (!main) {
        SetFontSize(FSubView, size);
        return;
    }
    FMainFontSize = size;
    ApplyMainFontSize();
}

int TTextPane::SubFontSize() const
{
    return FSubView->font().pointSize();
}

void TTextPane::RestoreFontSizes(int main, int sub)
{
    if (main > 0) {
        FMainFontSize = main;
        ApplyMainFontSize();
    }
    if (sub > 0)
        SetFontSize(FSubView, sub);
}

void TTextPane::OfferResume(int lastCard, int count)
{
    FResume->Offer(lastCard, count);
    PlaceResumeNotice();
}

void TTextPane::PlaceResumeNotice()
{
    FResume->Place(FMainView->geometry().bottom(), width());
}

void TTextPane::ResumeLastCard()
{
    const int card = FResume->Card();
    if (card >= 0)
        FLesson.PlayCard(card);
}

}  // namespace olve
