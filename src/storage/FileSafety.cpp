#include "storage/FileSafety.h"

#include "storage/EngineError.h"

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
    // Closes now and reports a failure (a delayed write error shows here).
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

void writeAll(int fd, const char* data, qint64 size, const QString& what)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw systemError(errno ? errno : EIO, what);
        data += written;
        size -= written;
    }
}

void syncDescriptor(int fd, const QString& what)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            throw systemError(errno, what);
    }
}

void copyInto(const QString& source, int out, const QString& what)
{
    Descriptor in(::open(native(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        throw systemError(errno, QStringLiteral("Cannot read the compacted copy"));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw systemError(errno, QStringLiteral("Cannot read the compacted copy"));
        if (got == 0)
            break;
        writeAll(out, buffer, got, what);
    }
}
} // namespace

namespace FileSafety {

void createPrivateFile(const QString& path)
{
    BW_TRACE(kModule, "Sub createPrivateFile");
    Descriptor fd(::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateMode));
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

QString replacementName(const QString& target)
{
    BW_TRACE(kModule, "Function replacementName");
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lwreplace");
}

void replaceAtomically(const QString& source, const QString& target)
{
    BW_TRACE(kModule, "Sub replaceAtomically");
    const QString copy = replacementName(target);
    const QString what = QStringLiteral("Cannot write the new data file");
    removeFile(copy); // left by a crash
    {
        Descriptor out(::open(native(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateMode));
        if (out.get() < 0)
            throw systemError(errno, what);
        try {
            copyInto(source, out.get(), what);
            syncDescriptor(out.get(), what);
            if (out.close() != 0)
                throw systemError(errno, what);
        } catch (...) {
            removeFile(copy);
            throw;
        }
    }
    if (::rename(native(copy).constData(), native(target).constData()) != 0) {
        const int error = errno;
        removeFile(copy);
        throw systemError(error, QStringLiteral("Cannot replace the data file"));
    }
    syncFolder(QFileInfo(target).absolutePath());
}

bool removeFile(const QString& path)
{
    BW_TRACE(kModule, "Function removeFile");
    return ::unlink(native(path).constData()) == 0 || errno == ENOENT;
}

} // namespace FileSafety
