#include "lesson/background_work.h"

#include <QThread>

namespace olve {

TBackgroundWork::TBackgroundWork(QObject* parent) : QObject(parent) {}

TBackgroundWork::~TBackgroundWork()
{
    Abandon();
}

void TBackgroundWork::Abandon()
{
    if (!FThread)
        return;
    disconnect(FThread, nullptr, this, nullptr);
    FThread->wait();
    delete std::exchange(FThread, nullptr);
    FDone = {};
}

bool TBackgroundWork::Start(std::function<void()> work, std::function<void()> done)
{
    if (FThread)
        return false;
    FDone = std::move(done);
    FThread = QThread::create(std::move(work));
    connect(FThread, &QThread::finished, this, [this] {
        FThread->wait();
        delete std::exchange(FThread, nullptr);
        // The end may start the next piece of work.
        std::exchange(FDone, {})();
    }, Qt::QueuedConnection);
    FThread->start();
    return true;
}

}  // namespace olve
