#pragma once
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace olve {

// Turns SIGTERM and SIGINT (logout, Ctrl+C in a terminal) into a call on the GUI thread, so
// the program can close its window as the user would and end normally.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TTerminationSignals() override;

private:
    std::function<void()> FOnSignal;
    QSocketNotifier* FNotifier = nullptr;
};

}  // namespace olve
