#include "app/instance_lock.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace olve {

TInstancePaths InstancePaths()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists()) {
        const QString base = QString::fromLocal8Bit(runtime) + "/olveplayer";
        return {base + ".socket", base + ".lock"};
    }
    const QString base = QDir::tempPath() + "/olveplayer-" + QString::number(getuid());
    return {base + ".socket", base + ".lock"};
}

TInstanceLock::~TInstanceLock()
{
    if (FFd >= 0)
        close(FFd);
}

bool TInstanceLock::TryAcquire()
{
    if (FFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(FPath);
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;  // nothing can be locked here, so nobody else holds it either
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    FFd = fd;
    return true;
}

}  // namespace olve
