#include <QTextCursor>

#include "app/card_list.h"
#include "app/main_window.h"
#include "app/pane_divider.h"
#include "storage/settings_vocabulary.h"
#include "title/pane_fit.h"

namespace olve {

namespace {

constexpr int DefaultSubHeight = 64;
constexpr int DividerHeight = 6;

}  // namespace

void TForm1::CreateDivider()
{
    pnDivider = new TPaneDivider(pnText);
    pnDivider->OnDrag = [this](int y) { DragDivider(y); };
    FSubWanted = DefaultSubHeight;
    FMainFontSize = FMainView->font().pointSize();
    // Laid out once the new text has been laid out, not inside its layout.
    FSubView->OnResizeRequest = [this] { QMetaObject::invokeMethod(this, &TForm1::LayOutTextPane, Qt::QueuedConnection); };
}

void TForm1::LayOutTextPane()
{
    const QRect area = pnText->rect();
    const bool sub = FSubView->isVisibleTo(pnText);
    const int subHeight = sub ? SubViewHeight(FSubWanted, SubViewFit(), area.height() - DividerHeight) : 0;
    const int mainHeight = area.height() - (sub ? subHeight + DividerHeight : 0);
    FMainView->setGeometry(0, 0, area.width(), mainHeight);
    pnDivider->setGeometry(0, mainHeight, area.width(), DividerHeight);
    pnDivider->setVisible(sub);
    FSubView->setGeometry(0, area.height() - subHeight, area.width(), subHeight);
    PlaceResumeNotice();
    FCardList->Grid()->setGeometry(area);
    FPicture->setGeometry(pnPic->rect());
    ApplyMainFontSize();
}

// The height that shows the whole Japanese text without scrolling.
int TForm1::SubViewFit() const
{
    return FSubView->ContentHeight() + qRound(2 * FSubView->document()->documentMargin()) + 2 * FSubView->frameWidth();
}

void TForm1::DragDivider(int y)
{
    // Kept as it is shown, so that a drag past either end is not saved as it was asked.
    FSubWanted = SubViewHeight(pnText->height() - y - DividerHeight / 2, 0, pnText->height() - DividerHeight);
    LayOutTextPane();
}

int TForm1::SectionSubHeight(TDisplayMode mode) const
{
    const int value = FStore->Layout(mode).SubHeight.value_or(DefaultSubHeight);
    return value > 0 ? value : DefaultSubHeight;
}

void TForm1::ApplyMainFontSize()
{
    int size = FMainFontSize;
    for (int step = FontBandSteps(pnText->width(), pnText->height()); step > 0 && NextFontSize(size, true) != 0; --step)
        size = NextFontSize(size, true);
    if (FMainView->font().pointSize() != size)
        SetFontSize(FMainView, size);
}

void TForm1::StepFontSize(TNewULEditNet* view, int delta)
{
    if (delta != -1 && delta != 1)
        return;
    const bool main = view == FMainView;
    const int size = NextFontSize(main ? FMainFontSize : view->font().pointSize(), delta == 1);
    if (size == 0)
        return;
    if (!main) {
        SetFontSize(view, size);
        return;
    }
    FMainFontSize = size;
    ApplyMainFontSize();
}

void TForm1::SetFontSize(TNewULEditNet* view, int size)
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

}  // namespace olve
