#include "storage/FileSafety.h"

#include "storage/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kModule[] = "FileSafety.cpp";
constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A file descriptor closed on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

void syncDescriptor(int fd, const QString& what)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            throw systemError(errno, what);
    }
}

} // namespace

namespace FileSafety {

void createPrivateFile(const QString& path)
{
    BW_TRACE(kModule, "Sub createPrivateFile");
    Descriptor fd(::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateMode));
    if (fd.get() < 0)
        throw systemError(errno, QStringLiteral("Cannot create the file"));
}

void syncFile(const QString& path)
{
    BW_TRACE(kModule, "Sub syncFile");
    const QString what = QStringLiteral("Cannot write the file to the disk");
    Descriptor fd(::open(native(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw systemError(errno, what);
    syncDescriptor(fd.get(), what);
}

void syncFolder(const QString& folder)
{
    BW_TRACE(kModule, "Sub syncFolder");
    Descriptor fd(::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        throw systemError(errno, QStringLiteral("Cannot open the folder"));
    syncDescriptor(fd.get(), QStringLiteral("Cannot write the folder to the disk"));
}

void replaceWithRename(const QString& source, const QString& target, Permissions permissions)
{
    BW_TRACE(kModule, "Sub replaceWithRename");
    // A link stays a link: the file it points to is the one replaced.
    const QString real = resolvedPath(target);
    const QByteArray from = native(source);
    const QByteArray to = native(real);
    struct stat old
    {
    };
    const mode_t mode = permissions == Permissions::KeepTarget && ::stat(to.constData(), &old) == 0
                            ? old.st_mode & 07777
                            : kPrivateMode;
    if (::chmod(from.constData(), mode) != 0)
        throw systemError(errno, QStringLiteral("Cannot give the new data file the old one's permissions"));
    if (::rename(from.constData(), to.constData()) != 0)
        throw systemError(errno, QStringLiteral("Cannot replace the data file"));
    syncFolder(QFileInfo(real).absolutePath());
}

bool removeFile(const QString& path)
{
    BW_TRACE(kModule, "Function removeFile");
    return ::unlink(native(path).constData()) == 0 || errno == ENOENT;
}

QString resolvedPath(const QString& path)
{
    BW_TRACE(kModule, "Function resolvedPath");
    if (path.isEmpty())
        return path;
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString resolved = info.canonicalFilePath();
    if (!resolved.isEmpty())
        return resolved;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace FileSafety
