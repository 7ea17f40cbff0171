#include "app/main_window.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <iterator>

#include "app/card_list.h"
#include "app/picture_pane.h"
#include "app/text_pane.h"
#include "app/tool_bar.h"
#include "places/settings_vocabulary.h"
#include "title/screen_fit.h"

namespace olve {

namespace {

// A window size for each display mode, in the order of their values.
constexpr QSize DefaultSizes[] = {{512, 512}, {1024, 512}, {768, 768}, {800, 600}, {768, 768}, {768, 768}};
static_assert(std::size(DefaultSizes) == DisplayModeSections.size());

QSize DefaultSize(TDisplayMode mode)
{
    return DefaultSizes[static_cast<std::size_t>(mode)];
}

QRect WorkArea()
{
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

TBox BoxOf(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

QRect RectOf(const TBox& b)
{
    return {b.Left, b.Top, b.Width, b.Height};
}

constexpr QSize SmallestWindow(120, 40);

}  // namespace

QRect TForm1::SectionBounds(TDisplayMode mode, const QSize& size) const
{
    TBox bounds = CentredOnScreen(size.width(), size.height(), BoxOf(WorkArea()));
    const TModeLayout kept = FStore->Layout(mode);
    bounds = {kept.Left.value_or(bounds.Left), kept.Top.value_or(bounds.Top), kept.Width.value_or(bounds.Width),
              kept.Height.value_or(bounds.Height)};
    bounds.Width = std::max(bounds.Width, SmallestWindow.width());
    bounds.Height = std::max(bounds.Height, SmallestWindow.height());
    // On the screen that holds most of it, or the main one when none does.
    const QScreen* screen = QGuiApplication::screenAt(RectOf(bounds).center());
    const QRect area = screen ? screen->availableGeometry() : WorkArea();
    return RectOf(FitOnScreen(bounds, BoxOf(area), TitleBarHeight()));
}

int TForm1::TitleBarHeight() const
{
    // Known once the window manager has framed the window; a guess before that.
    const int framed = geometry().top() - frameGeometry().top();
    return framed > 0 ? framed : style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

void TForm1::SetDisplayMode(TDisplayMode mode)
{
    if (!FLaidOut || mode != FDisplayMode) {
        if (FLaidOut)
            SaveLayout();
        FLaidOut = true;
        ApplyLayout(mode);
    }
    FDisplayMode = mode;
    if (IsCardList(mode))
        FCardList->FillCardGrid();
}

QSize TForm1::DefaultWindowSize(TDisplayMode mode) const
{
    QSize size = DefaultSize(mode);
    size.setWidth(std::max(size.width(), FToolBar->FullWidth()));
    return size.boundedTo(WorkArea().size());
}

void TForm1::ApplyLayout(TDisplayMode mode)
{
    const QSize size = DefaultWindowSize(mode);
    const bool picture = mode != TDisplayMode::System && mode != TDisplayMode::List;
    const bool views = !IsCardList(mode);
    const bool across = mode == TDisplayMode::Subtitles || mode == TDisplayMode::PictureCard;
    FPicturePane->setVisible(picture);
    FPicturePane->SetDisplayMode(mode);
    FTextPane->SetDisplayMode(mode, SectionSubHeight(mode));
    FCardList->ShowList(!views);
    spPic->setOrientation(across ? Qt::Vertical : Qt::Horizontal);
    resize(size);
    if (picture) {
        const int pane = mode == TDisplayMode::PictureBook ? 512 : mode == TDisplayMode::ListPic ? 256 : 384;
        const int total = across ? spPic->height() : spPic->width();
        spPic->setSizes({pane, std::max(total - pane - spPic->handleWidth(), 100)});
    }
    if (!isMaximized())
        setGeometry(SectionBounds(mode, size));
    FTextPane->LayOut();
    if (picture && !FPicturePane->isVisible())
        FPicturePane->show();
    FDisplayMode = mode;
    setVisible(true);
}

void TForm1::SaveLayout()
{
    FStore->SaveLayout(FDisplayMode, FTextPane->SubHeight(), isMaximized() ? std::nullopt : std::optional<TBox>(BoxOf(geometry())));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutToolBar();
}

int TForm1::SectionSubHeight(TDisplayMode mode) const
{
    const int value = FStore->Layout(mode).SubHeight.value_or(TTextPane::DefaultSubHeight);
    return value > 0 ? value : TTextPane::DefaultSubHeight;
}

}  // namespace olve
