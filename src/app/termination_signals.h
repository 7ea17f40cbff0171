#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace olve {

// Turns SIGTERM and SIGINT (logout, Ctrl+C in a terminal) into a call on the GUI thread, so
// the program can close its window as the user would and end normally. From the first
// signal on, every dialog, open then or opened later, is dismissed as if cancelled: nothing
// that the program does on its way out waits for an answer. A signal that comes before the
// event loop runs is handled once it does, or seen through Received.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

    // Called at each signal, after the dialogs are dismissed.
    void SetOnSignal(std::function<void()> onSignal);
    bool Received() const { return FReceived; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Handle();

    std::function<void()> FOnSignal;
    QSocketNotifier* FNotifier = nullptr;
    bool FReceived = false;
};

}  // namespace olve
