#include "storage/ResourceFile.h"

#include "errortrap/Bulwark.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kModule[] = "ResourceFile.cpp";

int numberForErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ResourceErr::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return ResourceErr::DiskFull;
    case ENOENT:
    case ENOTDIR:
        return ResourceErr::PathNotFound;
    default:
        return ResourceErr::PathFileAccess;
    }
}

// Writes everything and syncs; the errno of the first failure, or 0.
int writeBytes(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return errno;
    int error = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 ? 0 : errno; // also when the file was there before
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0 && error == 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error = written < 0 ? errno : EIO;
        else {
            data += written;
            left -= written;
        }
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}
} // namespace

bool loadResourceBytes(const QString& name, const QString& type, QByteArray& bytes)
{
    BW_TRACE(kModule, "Function loadResourceBytes");
    if (type.compare(QLatin1String("CUSTOM"), Qt::CaseInsensitive) != 0 || name.isEmpty())
        return false;
    // The CUSTOM resources live in the template and pictures folders of the program's resources.
    for (const char* folder : {":/template/", ":/pictures/"}) {
        QFile file(QLatin1String(folder) + name);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
            return true;
        }
    }
    return false;
}

int SaveResItemToDisk(const QString& name, const QString& type, const QString& path)
{
    BW_TRACE(kModule, "Function SaveResItemToDisk");
    QByteArray bytes;
    if (!loadResourceBytes(name, type, bytes))
        return ResourceErr::ResourceNotFound;
    if (path.isEmpty())
        return ResourceErr::PathNotFound;
    const int error = writeBytes(QFile::encodeName(path), bytes);
    return error == 0 ? 0 : numberForErrno(error);
}
