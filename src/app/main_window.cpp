#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include "app/startup_check.h"
#include "storage/data_file.h"

namespace olve {

namespace {

constexpr int DefaultSize = 512;

int IntegerOr(const std::string& text, int fallback)
{
    bool ok = false;
    const int value = QString::fromStdString(text).toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

TForm1::TForm1(const QString& programPath, TPrompts& prompts, QWidget* parent)
    : QWidget(parent), FProgramPath(programPath), FPrompts(prompts)
{
    FormCreate();
}

void TForm1::FormCreate()
{
    setObjectName(MainWindowClassName);
    setWindowTitle(ApplicationTitle);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    setMinimumSize(250, 250);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    ReadBounds();

    pnText = new QWidget(this);
    pnText->setObjectName("pnText");
    pnText->setAutoFillBackground(true);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    pnText->setPalette(panel);
    pnText->setMinimumSize(100, 100);

    FLinkBox = new TLinkBox(this);
    FLinkBox->setText(TLinkBox::Busy);
    connect(FLinkBox, &TLinkBox::Changed, this, &TForm1::LinkBoxChange);
}

void TForm1::ReadBounds()
{
    const QRect screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    QRect bounds((screen.width() - DefaultSize) / 2, (screen.height() - DefaultSize) / 2, DefaultSize, DefaultSize);
    const QString settings = SettingsFileOf(FProgramPath);
    if (QFileInfo::exists(settings)) {
        TDataFile file(settings.toStdString(), FPrompts);
        file.ReadOnly = true;
        auto read = [&](const char* key, int fallback) {
            return IntegerOr(file.ReadString("System", key, std::to_string(fallback)), fallback);
        };
        bounds = QRect(read("Left", bounds.left()), read("Top", bounds.top()), read("Width", bounds.width()),
                       read("Height", bounds.height()));
        file.Close();
    }
    setGeometry(bounds);
}

bool TForm1::ListenForHandOvers(const QString& socketPath)
{
    if (!FLinkBoxServer)
        FLinkBoxServer = new TLinkBoxServer(this, MainWindowClassName, FLinkBox, this);
    return FLinkBoxServer->Listen(socketPath);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Without a window manager, or with focus-stealing prevention, the window may never be
    // activated; it must still become ready for hand-overs once the event loop runs.
    QTimer::singleShot(0, this, [this] {
        if (!FActivated)
            FormActivate();
    });
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pnText->setGeometry(rect());
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm1::FormActivate()
{
    FActivated = true;
    if (!QDir::setCurrent(QFileInfo(FProgramPath).absolutePath()))
        return;
    FLinkBox->setText(QString());
}

void TForm1::LinkBoxChange()
{
    const QString text = FLinkBox->text();
    if (text.isEmpty() || text == TLinkBox::Busy)
        return;
    const QFileInfo file(text);
    if (file.isFile() && file.suffix().compare("qzw", Qt::CaseInsensitive) == 0 && OpenTitlePackage)
        OpenTitlePackage(text);
}

}  // namespace olve
