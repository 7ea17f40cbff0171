#include "app/qt_extract_feedback.h"

#include <QApplication>

namespace olve {

TQtExtractFeedback::TQtExtractFeedback(QWidget* owner) : FOwner(owner) {}

TQtExtractFeedback::~TQtExtractFeedback()
{
    HideProgress();
    while (FBusy > 0)
        EndBusy();
}

void TQtExtractFeedback::BeginBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++FBusy;
}

void TQtExtractFeedback::EndBusy()
{
    if (FBusy == 0)
        return;
    --FBusy;
    QApplication::restoreOverrideCursor();
}

void TQtExtractFeedback::ShowProgress(const std::string& caption, int maximum)
{
    HideProgress();
    if (FOwner)
        FOwner->setEnabled(false);
    FProgress = std::make_unique<TProgressWindow>(QString::fromStdString(caption), maximum);
    FProgress->show();
}

void TQtExtractFeedback::StepProgress()
{
    if (FProgress)
        FProgress->Step();
}

void TQtExtractFeedback::HideProgress()
{
    if (!FProgress)
        return;
    FProgress.reset();
    if (FOwner)
        FOwner->setEnabled(true);
}

}  // namespace olve
