#include "app/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/instance_refusal.h"
#include "app/private_folder.h"

namespace olve {

namespace {

QString InstanceFolder()
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && IsPrivateFolder(runtime))
        return runtime;
    return QDir::tempPath() + "/olveplayer-" + QString::number(geteuid());
}

bool OwnPlainFile(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

}  // namespace

TInstancePaths InstancePaths()
{
    const QString folder = InstanceFolder();
    return {folder + "/olveplayer.socket", folder + "/olveplayer.lock"};
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
    const int fd = Open();
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            FRefusal = UnusableFileMessage(FPath.toStdString(), std::strerror(errno));
        close(fd);
        return false;
    }
    FFd = fd;
    return true;
}

int TInstanceLock::Open()
{
    FRefusal = MakePrivateFolder(QFileInfo(FPath).absolutePath());
    if (!FRefusal.empty())
        return -1;
    const int fd = open(QFile::encodeName(FPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        FRefusal = errno == ELOOP ? ForeignFileMessage(FPath.toStdString())
                                  : UnusableFileMessage(FPath.toStdString(), std::strerror(errno));
        return -1;
    }
    if (!OwnPlainFile(fd)) {
        close(fd);
        FRefusal = ForeignFileMessage(FPath.toStdString());
        return -1;
    }
    return fd;
}

}  // namespace olve
