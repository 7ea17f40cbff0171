#pragma once
#include <QString>

namespace olve {

// Where the running instance of this user can be found: its hand-over socket, and the lock
// that only the first instance holds. Both live in the user's private runtime folder
// ($XDG_RUNTIME_DIR), or in the temporary folder under names that carry the user id.
struct TInstancePaths {
    QString Socket;
    QString Lock;
};

TInstancePaths InstancePaths();

// The claim to be the first instance. The system releases it when the process ends, however
// it ends, so a crashed instance never blocks the next start.
class TInstanceLock {
public:
    explicit TInstanceLock(const QString& path) : FPath(path) {}
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when this process may act as the first instance: it holds the lock, or no lock
    // file can be made at all (then no other instance can hold one either).
    bool TryAcquire();
    bool Held() const { return FFd >= 0; }

private:
    QString FPath;
    int FFd = -1;
};

}  // namespace olve
