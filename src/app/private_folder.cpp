#include "app/private_folder.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "app/instance_refusal.h"

namespace olve {

namespace {

bool Stat(const QString& path, struct stat& info)
{
    return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool IsPrivate(const struct stat& info)
{
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 0077) == 0;
}

}  // namespace

bool IsPrivateFolder(const QString& path)
{
    struct stat info {};
    return Stat(path, info) && IsPrivate(info);
}

std::string MakePrivateFolder(const QString& path)
{
    if (mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return UnusableFileMessage(path.toStdString(), std::strerror(errno));
    return IsPrivateFolder(path) ? std::string() : NotPrivateFolderMessage(path.toStdString());
}

std::string ForeignFileRefusal(const QString& path)
{
    struct stat info {};
    if (!Stat(path, info) || info.st_uid == geteuid())
        return {};
    return ForeignFileMessage(path.toStdString());
}

}  // namespace olve
