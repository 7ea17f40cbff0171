#pragma once
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>

#include "app/progress_window.h"
#include "filetrain/extract_feedback.h"

namespace olve {

// Installing a package as the player shows it: the busy cursor and the progress window for
// large files while the owner window is disabled. Called on the window's thread, whose event
// loop runs meanwhile (the installation has a thread of its own); only Cancelled is asked
// from the installing thread.
class TQtExtractFeedback : public TExtractFeedback {
public:
    explicit TQtExtractFeedback(QWidget* owner = nullptr);
    ~TQtExtractFeedback() override;

    void BeginBusy() override;
    void EndBusy() override;
    // Nothing is pending: the window's own event loop runs.
    void ProcessMessages() override {}
    void ShowProgress(const std::string& caption, int maximum) override;
    void StepProgress() override;
    void HideProgress() override;
    bool Cancelled() const override { return FCancelled; }
    // Every installation from now on ends at its next entry.
    void Cancel() { FCancelled = true; }

    TProgressWindow* ProgressWindow() const { return FProgress.get(); }

private:
    QPointer<QWidget> FOwner;
    std::unique_ptr<TProgressWindow> FProgress;
    int FBusy = 0;
    std::atomic<bool> FCancelled = false;
};

}  // namespace olve
