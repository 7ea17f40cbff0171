#pragma once
#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/progress_window.h"
#include "filetrain/extract_feedback.h"

namespace olve {

// Installing a package as the player shows it: the busy cursor, a responsive window, and the
// progress window for large files while the owner window is disabled.
class TQtExtractFeedback : public TExtractFeedback {
public:
    explicit TQtExtractFeedback(QWidget* owner = nullptr);
    ~TQtExtractFeedback() override;

    void BeginBusy() override;
    void EndBusy() override;
    void ProcessMessages() override;
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
    bool FCancelled = false;
};

}  // namespace olve
