#pragma once
#include <QObject>
#include <functional>

class QThread;

namespace olve {

// Runs one piece of long work at a time on a thread of its own and calls its end back on
// the thread that started it, from that thread's event loop: nothing waits for it there.
class TBackgroundWork : public QObject {
    Q_OBJECT
public:
    explicit TBackgroundWork(QObject* parent = nullptr);
    // Waits for work still running: whoever owns it makes the work stop first.
    ~TBackgroundWork() override;

    // False, doing nothing, while other work runs.
    bool Start(std::function<void()> work, std::function<void()> done);
    bool Running() const { return FThread != nullptr; }
    // Waits for the work to end without calling its end back.
    void Abandon();

private:
    QThread* FThread = nullptr;
    std::function<void()> FDone;
};

}  // namespace olve
