#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <iterator>

#include "app/card_list.h"
#include "app/tool_bar.h"
#include "media/content_class.h"
#include "storage/cp932_text.h"
#include "storage/letter_case_path.h"
#include "storage/settings_vocabulary.h"
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

constexpr int FontLadder[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 26, 28, 36};

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
    pnPic->setVisible(picture);
    FMainView->setVisible(views);
    FSubView->setVisible(views);
    FCardList->ShowList(!views);
    spPic->setOrientation(across ? Qt::Vertical : Qt::Horizontal);
    FSubWanted = SectionSubHeight(mode);
    resize(size);
    if (picture) {
        const int pane = mode == TDisplayMode::PictureBook ? 512 : mode == TDisplayMode::ListPic ? 256 : 384;
        const int total = across ? spPic->height() : spPic->width();
        spPic->setSizes({pane, std::max(total - pane - spPic->handleWidth(), 100)});
    }
    if (!isMaximized())
        setGeometry(SectionBounds(mode, size));
    LayOutTextPane();
    if (picture && !pnPic->isVisible())
        pnPic->show();
    FDisplayMode = mode;
    setVisible(true);
}

void TForm1::SaveLayout()
{
    FStore->SaveLayout(FDisplayMode, FSubWanted, isMaximized() ? std::nullopt : std::optional<TBox>(BoxOf(geometry())));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutToolBar();
}

// A card picture: as named (absolute, or from the program's folder), in the title's "pic"
// folder, or in the title folder; names stored with "\" and in any letter case.
QString TForm1::FindPicture(const std::string& name) const
{
    QString local = QString::fromStdString(Cp932ToUtf8(name));
    local.replace('\\', '/');
    QStringList places = {local};
    // "/" alone: the title has no folder of its own (no code, or one that is not a folder name).
    if (!FTitleFolder.isEmpty() && FTitleFolder != "/")
        places << FTitleFolder + "pic/" + local << FTitleFolder + local;
    for (const QString& place : places) {
        const QString path = QFileInfo(place).isRelative() ? ProgramFolder() + "/" + place : place;
        // Stored names come from a file system that ignores letter case.
        const QString found = QString::fromStdString(ExistingPathIgnoringCase(path.toStdString()));
        if (!found.isEmpty() && QFileInfo(found).isFile())
            return found;
    }
    return {};
}

void TForm1::ShowPicture(const std::string& name)
{
    if (name.empty())
        FPicture->ClearPicture();
    if (name == FPictureName)
        return;
    FPictureName = name;
    const QString path = FindPicture(name);
    if (path.isEmpty()) {
        FPicture->ClearPicture();
        return;
    }
    FPicture->LoadFromFile(path);
}

bool TForm1::HasPictures() const
{
    const TUndoPlayCardList& cards = FPackage->MainCards;
    for (int i = 0; i < cards.Count(); ++i)
        if (!cards.Card(i).Picture.empty() && !FindPicture(cards.Card(i).Picture).isEmpty())
            return true;
    return false;
}

void TForm1::FitVideo()
{
    if (FPlayer->DeviceID() == 0 || !FPlayer->Display() || ContentClassOfFile(FPlayer->FileName) != "video" ||
        FVideoWidth <= 0 || FVideoHeight <= 0)
        return;
    const int cw = pnPic->width();
    const int ch = pnPic->height();
    const int vw = FVideoWidth;
    const int vh = FVideoHeight;
    if (std::int64_t(cw) * vh < std::int64_t(ch) * vw) {
        const int height = static_cast<int>(std::int64_t(cw) * vh / vw);
        FPlayer->SetDisplayRect(QRect(0, (ch - height) / 2, cw, height));
    } else {
        const int width = static_cast<int>(std::int64_t(ch) * vw / vh);
        FPlayer->SetDisplayRect(QRect((cw - width) / 2, 0, width, ch));
    }
}

void TForm1::ShowTextPane(bool on)
{
    pnText->setVisible(on);
}

int TForm1::NextFontSize(int size, bool bigger)
{
    if (bigger) {
        for (int step : FontLadder)
            if (step >= size + 1)
                return step;
        return 0;
    }
    for (auto it = std::rbegin(FontLadder); it != std::rend(FontLadder); ++it)
        if (*it <= size - 1)
            return *it;
    return 0;
}

}  // namespace olve
