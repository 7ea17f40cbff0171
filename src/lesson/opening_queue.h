#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace olve {

// What is to be opened, one at a time. Requests come from other processes and desktop panels
// as fast as they like: one still waiting is replaced by the next, so only the latest opens,
// and it opens only once no opening is under way and nothing is being asked (Busy). Closing
// lets the openings under way end, opens nothing more, and tells when nothing is written.
class TOpeningQueue : public QObject {
    Q_OBJECT
public:
    // busy: whether something outside the queue (a box on screen) is to go first.
    explicit TOpeningQueue(std::function<bool()> busy, QObject* parent = nullptr);

    // Path is to be opened once nothing else is; it replaces the one still waiting.
    void Request(const QString& path);
    // A path another start of the program handed over: taken when it names a package, a
    // recording or subtitles, as a start alone would open them.
    void HandOver(const QString& path);
    // The request still waiting; empty when none waits.
    const QString& Waiting() const { return FWaiting; }

    // An opening or installation begins or ends; a hand-over may start one inside another.
    void Begin() { ++FOpening; }
    void End();
    bool Opening() const { return FOpening > 0; }

    // Nothing opens after this; Closable comes now when nothing is under way, or once the
    // last opening ends.
    void Close();
    bool Closing() const { return FClosing; }

Q_SIGNALS:
    // The latest request, to be opened now.
    void OpenNow(const QString& path);
    // Closing was asked and nothing is being opened or written.
    void Closable();

private:
    void TryOpen();

    std::function<bool()> FBusy;
    QString FWaiting;
    QTimer FRetry;
    int FOpening = 0;
    bool FClosing = false;
};

}  // namespace olve
