#include "lesson/relayed_extract_ui.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace olve {

namespace {

// How often a worker waiting for an answer looks whether it is to stop instead.
constexpr auto AnswerPoll = std::chrono::milliseconds(50);

// One copy question on its way to the user and back; whichever side is left holds it.
struct TPendingAnswer {
    std::mutex Lock;
    std::condition_variable Answered;
    bool Done = false;
    TFileCopyRequest Request;
};

}  // namespace

TRelayedExtractUi::TRelayedExtractUi(const TExtractUi& ui, QObject* context, const std::atomic<bool>* stop)
    : FUi(ui), FContext(context), FStop(stop)
{
}

TExtractUi TRelayedExtractUi::Ui()
{
    // The feedback is always there: stopping is read through it.
    return {static_cast<TExtractFeedback*>(this), FUi.CopyQuestion ? static_cast<TFileCopyQuestion*>(this) : nullptr};
}

void TRelayedExtractUi::Post(std::function<void(TExtractFeedback&)> call)
{
    if (!FContext || !FUi.Feedback)
        return;
    TExtractFeedback* feedback = FUi.Feedback;
    if (FContext->thread() == QThread::currentThread()) {
        call(*feedback);
        return;
    }
    QMetaObject::invokeMethod(FContext, [feedback, call = std::move(call)] { call(*feedback); }, Qt::QueuedConnection);
}

void TRelayedExtractUi::BeginBusy()
{
    Post([](TExtractFeedback& feedback) { feedback.BeginBusy(); });
}

void TRelayedExtractUi::EndBusy()
{
    Post([](TExtractFeedback& feedback) { feedback.EndBusy(); });
}

void TRelayedExtractUi::ShowProgress(const std::string& caption, int maximum)
{
    Post([caption, maximum](TExtractFeedback& feedback) { feedback.ShowProgress(caption, maximum); });
}

void TRelayedExtractUi::StepProgress()
{
    Post([](TExtractFeedback& feedback) { feedback.StepProgress(); });
}

void TRelayedExtractUi::HideProgress()
{
    Post([](TExtractFeedback& feedback) { feedback.HideProgress(); });
}

bool TRelayedExtractUi::Cancelled() const
{
    return (FStop && *FStop) || (FUi.Feedback && FUi.Feedback->Cancelled());
}

// The answer is waited for without blocking the context's thread on this one: a context
// that stops the installation and waits for it must not wait for a question nobody answers.
void TRelayedExtractUi::Ask(TFileCopyRequest& request)
{
    if (FContext && FContext->thread() == QThread::currentThread()) {
        FUi.CopyQuestion->Ask(request);
        return;
    }
    auto pending = std::make_shared<TPendingAnswer>();
    pending->Request = request;
    TFileCopyQuestion* question = FUi.CopyQuestion;
    const bool posted = FContext && QMetaObject::invokeMethod(FContext, [pending, question] {
        TFileCopyRequest asked = pending->Request;
        question->Ask(asked);
        std::lock_guard lock(pending->Lock);
        pending->Request = asked;
        pending->Done = true;
        pending->Answered.notify_all();
    }, Qt::QueuedConnection);
    std::unique_lock lock(pending->Lock);
    while (posted && !pending->Done && !Cancelled())
        pending->Answered.wait_for(lock, AnswerPoll);
    if (pending->Done) {
        request = pending->Request;
        return;
    }
    // Given up: as a question closed without an answer, and the installation ends.
    request.Choice = TCopyChoice::Cancel;
    request.ApplyToAll = true;
}

}  // namespace olve
