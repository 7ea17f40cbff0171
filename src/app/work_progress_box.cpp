#include "app/work_progress_box.h"

#include <QProgressDialog>
#include <algorithm>

#include "lesson/card_sync.h"
#include "lesson/title_opening.h"

namespace olve {

TWorkProgressBox::TWorkProgressBox(QWidget* window, TTitleOpening& opening)
    : QObject(window), FWindow(window), FCancel([&opening] { opening.Cancel(); })
{
    connect(&opening, &TTitleOpening::WorkStarted, this, &TWorkProgressBox::Show);
    connect(&opening, &TTitleOpening::WorkProgress, this, &TWorkProgressBox::Percent);
    connect(&opening, &TTitleOpening::WorkEnded, this, &TWorkProgressBox::Hide);
}

TWorkProgressBox::TWorkProgressBox(QWidget* window, TCardSync& sync)
    : QObject(window), FWindow(window), FCancel([&sync] { sync.Cancel(); })
{
    connect(&sync, &TCardSync::WorkStarted, this, &TWorkProgressBox::Show);
    connect(&sync, &TCardSync::WorkProgress, this, &TWorkProgressBox::Percent);
    connect(&sync, &TCardSync::WorkEnded, this, &TWorkProgressBox::Hide);
}

TWorkProgressBox::~TWorkProgressBox()
{
    Hide();
}

void TWorkProgressBox::Show(const QString& text, bool cancellable)
{
    Hide();
    FBox = new QProgressDialog(text, cancellable ? QStringLiteral("取り消し  Cancel") : QString(), 0, 0, FWindow);
    // Whatever closes the box stops the work it stands for: its Cancel, Escape, a
    // termination signal.
    connect(FBox, &QProgressDialog::canceled, this, [this] { FCancel(); });
    connect(FBox, &QDialog::rejected, this, [this] { FCancel(); });
    FBox->setWindowModality(Qt::WindowModal);
    FBox->setMinimumDuration(0);
    FBox->setAutoClose(false);
    FBox->setAutoReset(false);
    FBox->show();
}

void TWorkProgressBox::Percent(int percent)
{
    if (!FBox || percent <= 0)
        return;
    FBox->setMaximum(100);
    FBox->setValue(std::min(percent, 99));
}

void TWorkProgressBox::Hide()
{
    if (!FBox)
        return;
    disconnect(FBox, nullptr, this, nullptr);
    FBox->hide();
    FBox->deleteLater();
    FBox = nullptr;
}

}  // namespace olve
