#include "app/progress_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace olve {

TProgressWindow::TProgressWindow(const QString& caption, int maximum, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(caption);
    setFixedSize(400, 88);
    lbMessage = new QLabel(this);
    lbMessage->setTextFormat(Qt::PlainText);
    lbMessage->move(8, 16);
    pbProgress = new QProgressBar(this);
    pbProgress->setGeometry(8, 32, width() - 16, pbProgress->sizeHint().height());
    pbProgress->setRange(0, maximum);
    pbProgress->setValue(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TProgressWindow::Step()
{
    const int next = pbProgress->value() + 1;
    pbProgress->setValue(next > pbProgress->maximum() ? 0 : next);
    pbProgress->repaint();
}

}  // namespace olve
