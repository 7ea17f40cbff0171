#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTextCursor>

#include "media/content_class.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"
#include "storage/letter_case_path.h"

namespace olve {

namespace {

struct TModeLayout {
    const char* Section;
    QSize DefaultSize;
};

constexpr TModeLayout Modes[6] = {
    {"System", {512, 512}},   {"PictureBook", {1024, 512}}, {"Subtitles", {768, 768}},
    {"PictureCard", {800, 600}}, {"List", {768, 768}},      {"ListPic", {768, 768}},
};

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

QRect TForm1::SectionBounds(int mode, const QSize& size) const
{
    const QRect screen = ScreenArea();
    QRect bounds((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2, size.width(), size.height());
    const QString settings = SettingsFile();
    if (!QFileInfo::exists(settings))
        return bounds;
    TDataFile file(settings.toStdString(), FPrompts);
    file.ReadOnly = true;
    auto read = [&](const char* key, int fallback) {
        return IntegerOr(file.ReadString(Modes[mode].Section, key, std::to_string(fallback)), fallback);
    };
    bounds = QRect(read("Left", bounds.left()), read("Top", bounds.top()), read("Width", bounds.width()),
                   read("Height", bounds.height()));
    file.Close();
    bounds.setSize(bounds.size().boundedTo(LargestWindow()).expandedTo(SmallestWindow));
    return bounds;
}

void TForm1::SetDisplayMode(int mode)
{
    if (!FLaidOut || mode != FDisplayMode) {
        if (FLaidOut)
            SaveLayout();
        FLaidOut = true;
        ApplyLayout(mode);
    }
    FDisplayMode = mode;
    if (mode == 4 || mode == 5)
        FillCardGrid();
}

void TForm1::ApplyLayout(int mode)
{
    const QRect work = WorkArea();
    const QSize size(std::min(Modes[mode].DefaultSize.width(), work.width()),
                     std::min(Modes[mode].DefaultSize.height(), work.height()));
    const bool picture = mode != 0 && mode != 4;
    const bool views = mode != 4 && mode != 5;
    pnPic->setVisible(picture);
    FMainView->setVisible(views);
    FSubView->setVisible(views);
    sgCards->setVisible(!views);
    sgCards->setRowCount(views ? 1 : FPackage->MainCards.Count() + 1);
    spPic->setOrientation(mode == 2 || mode == 3 ? Qt::Vertical : Qt::Horizontal);
    resize(size);
    if (picture) {
        const int pane = mode == 1 ? 512 : mode == 5 ? 256 : 384;
        const int total = mode == 2 || mode == 3 ? spPic->height() : spPic->width();
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
    const char* section = Modes[FDisplayMode].Section;
    const QRect bounds = geometry();
    file.WriteInteger(section, "Left", bounds.left());
    file.WriteInteger(section, "Top", bounds.top());
    file.WriteInteger(section, "Width", bounds.width());
    file.WriteInteger(section, "Height", bounds.height());
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
    if (size == 0)
        return;
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
