#pragma once
#include <atomic>
#include <functional>

#include <QPointer>

#include "filetrain/train_extract.h"

class QObject;

namespace olve {

// An installation on a thread of its own, talking to a user interface that lives on the
// thread of a context object: what the feedback shows is posted there in order, the copy
// question is asked there while the installation waits for the answer, and whether to stop
// is read at once. The feedback and question are only ever called on the context's thread,
// and only while the context lives.
class TRelayedExtractUi : private TExtractFeedback, private TFileCopyQuestion {
public:
    // stop, when given, ends the installation too, and gives up a question still unanswered.
    TRelayedExtractUi(const TExtractUi& ui, QObject* context, const std::atomic<bool>* stop = nullptr);

    // What the installation is to talk to: a copy question where there is one to relay.
    TExtractUi Ui();

private:
    void BeginBusy() override;
    void EndBusy() override;
    void ProcessMessages() override {}
    void ShowProgress(const std::string& caption, int maximum) override;
    void StepProgress() override;
    void HideProgress() override;
    bool Cancelled() const override;
    void Ask(TFileCopyRequest& request) override;

    void Post(std::function<void(TExtractFeedback&)> call);

    TExtractUi FUi;
    QPointer<QObject> FContext;
    const std::atomic<bool>* FStop;
};

}  // namespace olve
