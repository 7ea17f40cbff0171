#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTextCursor>
#include <iterator>

#include "media/content_class.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"
#include "storage/letter_case_path.h"
#include "storage/settings_vocabulary.h"

namespace olve {

namespace {

// A window size for each display mode, in the order of their values.
constexpr QSize DefaultSizes[] = {{512, 512}, {1024, 512}, {768, 768}, {800, 600}, {768, 768}, {768, 768}};
static_assert(std::size(DefaultSizes) == DisplayModeSections.size());

// In the order of WindowBoundKeys.
enum class TWindowBound { Left, Top, Width, Height };

// The settings file keeps the window's bounds in a section per display mode.
std::string Section(TDisplayMode mode)
{
    return std::string(DisplayModeSections[static_cast<std::size_t>(mode)]);
}

QSize DefaultSize(TDisplayMode mode)
{
    return DefaultSizes[static_cast<std::size_t>(mode)];
}

std::string Key(TWindowBound bound)
{
    return std::string(WindowBoundKeys[static_cast<std::size_t>(bound)]);
}

constexpr int FontLadder[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 26, 28, 36};
constexpr int SubViewHeight = 64;

QRect WorkArea()
{
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect ScreenArea()
{
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// The largest window the system makes is as large as the whole desktop; a damaged settings
// file may ask for a window that would take gigabytes to draw.
QSize LargestWindow()
{
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->virtualSize() : QSize(1024, 768);
}

constexpr QSize SmallestWindow(120, 40);

int IntegerOr(const std::string& text, int fallback)
{
    bool ok = false;
    const int value = QString::fromStdString(text).toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

QRect TForm1::SectionBounds(TDisplayMode mode, const QSize& size) const
{
    const QRect screen = ScreenArea();
    QRect bounds((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2, size.width(), size.height());
    const QString settings = SettingsFile();
    if (!QFileInfo::exists(settings))
        return bounds;
    TDataFile file(settings.toStdString(), FPrompts);
    file.ReadOnly = true;
    auto read = [&](TWindowBound bound, int fallback) {
        return IntegerOr(file.ReadString(Section(mode), Key(bound), std::to_string(fallback)), fallback);
    };
    bounds = QRect(read(TWindowBound::Left, bounds.left()), read(TWindowBound::Top, bounds.top()),
                   read(TWindowBound::Width, bounds.width()), read(TWindowBound::Height, bounds.height()));
    file.Close();
    bounds.setSize(bounds.size().boundedTo(LargestWindow()).expandedTo(SmallestWindow));
    return bounds;
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
        FillCardGrid();
}

void TForm1::ApplyLayout(TDisplayMode mode)
{
    const QSize size = DefaultSize(mode).boundedTo(WorkArea().size());
    const bool picture = mode != TDisplayMode::System && mode != TDisplayMode::List;
    const bool views = !IsCardList(mode);
    const bool across = mode == TDisplayMode::Subtitles || mode == TDisplayMode::PictureCard;
    pnPic->setVisible(picture);
    FMainView->setVisible(views);
    FSubView->setVisible(views);
    sgCards->setVisible(!views);
    sgCards->setRowCount(views ? 1 : FPackage->MainCards.Count() + 1);
    spPic->setOrientation(across ? Qt::Vertical : Qt::Horizontal);
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
    if (isMaximized())
        return;
    TDataFile file(SettingsFile().toStdString(), FPrompts);
    const std::string section = Section(FDisplayMode);
    const QRect bounds = geometry();
    file.WriteInteger(section, Key(TWindowBound::Left), bounds.left());
    file.WriteInteger(section, Key(TWindowBound::Top), bounds.top());
    file.WriteInteger(section, Key(TWindowBound::Width), bounds.width());
    file.WriteInteger(section, Key(TWindowBound::Height), bounds.height());
    file.Close();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutToolBar();
}

void TForm1::LayOutTextPane()
{
    const QRect area = pnText->rect();
    const bool sub = FSubView->isVisibleTo(pnText);
    FMainView->setGeometry(area.adjusted(0, 0, 0, sub ? -SubViewHeight : 0));
    PlaceResumeNotice();
    FSubView->setGeometry(0, area.height() - SubViewHeight, area.width(), SubViewHeight);
    sgCards->setGeometry(area);
    FPicture->setGeometry(pnPic->rect());
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

void TForm1::StepFontSize(TNewULEditNet* view, int delta)
{
    if (delta != -1 && delta != 1)
        return;
    const int size = NextFontSize(view->font().pointSize(), delta == 1);
    if (size != 0)
        SetFontSize(view, size);
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
