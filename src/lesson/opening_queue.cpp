#include "lesson/opening_queue.h"

#include <utility>

#include "lesson/opening_choice.h"

namespace olve {

namespace {

// How often a waiting request looks again whether what is in its way has ended.
constexpr int RetryMs = 100;

}  // namespace

TOpeningQueue::TOpeningQueue(std::function<bool()> busy, QObject* parent) : QObject(parent), FBusy(std::move(busy))
{
    FRetry.setSingleShot(true);
    connect(&FRetry, &QTimer::timeout, this, &TOpeningQueue::TryOpen);
}

void TOpeningQueue::Request(const QString& path)
{
    if (FClosing || path.isEmpty())
        return;
    FWaiting = path;
    // The first look comes once the caller has returned: a hand-over is answered before its
    // package opens, since opening may ask the user and the other start must not wait.
    if (!FRetry.isActive())
        FRetry.start(0);
}

void TOpeningQueue::HandOver(const QString& path)
{
    if (IsOpenableAlone(path.toStdString()))
        Request(path);
}

void TOpeningQueue::TryOpen()
{
    if (FWaiting.isEmpty() || FClosing)
        return;
    // What is being opened or asked goes first; the request would otherwise open inside it
    // and replace the title that is being opened or asked about.
    if (Opening() || (FBusy && FBusy())) {
        FRetry.start(RetryMs);
        return;
    }
    Q_EMIT OpenNow(std::exchange(FWaiting, QString()));
}

void TOpeningQueue::End()
{
    if (FOpening > 0)
        --FOpening;
    if (FClosing && FOpening == 0)
        Q_EMIT Closable();
}

void TOpeningQueue::Close()
{
    FClosing = true;
    FWaiting.clear();
    FRetry.stop();
    if (FOpening == 0)
        Q_EMIT Closable();
}

}  // namespace olve
