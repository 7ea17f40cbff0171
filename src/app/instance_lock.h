#pragma once
#include <QString>
#include <string>

namespace olve {

// Where the running instance of this user can be found: its hand-over socket, and the lock
// that only the first instance holds. Both live in a folder only this user may enter: the
// runtime folder ($XDG_RUNTIME_DIR) when it is such a folder, otherwise one of the user's
// own under the temporary folder, which the lock makes or refuses.
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

    // True when this process holds the lock. False while another instance holds it, or
    // when the lock cannot be taken safely (its folder is not private, the lock file is
    // another user's, it cannot be made): then Refusal() says why.
    bool TryAcquire();
    bool Held() const { return FFd >= 0; }
    const std::string& Refusal() const { return FRefusal; }

private:
    // The lock file, opened once its folder and the file itself prove to be this user's
    // own; -1 with the refusal set otherwise.
    int Open();

    QString FPath;
    int FFd = -1;
    std::string FRefusal;
};

}  // namespace olve
