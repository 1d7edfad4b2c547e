#include "storage/DataFileLock.h"

#include "storage/EngineError.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kModule[] = "DataFileLock.cpp";
constexpr int kPollMs = 20;
// A file replaced again and again while we wait is not worth chasing for ever.
constexpr int kMaxReplacements = 20;

bool sameFile(int fd, const QByteArray& path)
{
    struct stat held
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}
} // namespace

DataFileLock::~DataFileLock()
{
    release();
}

DataFileLock::DataFileLock(DataFileLock&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

DataFileLock& DataFileLock::operator=(DataFileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void DataFileLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing lets go of the lock
    m_fd = -1;
}

DataFileLock DataFileLock::lock(const QString& path, Mode mode, int waitMs)
{
    BW_TRACE(kModule, "Function lock");
    const QByteArray native = QFile::encodeName(path);
    const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const QDeadlineTimer deadline(waitMs);
    for (int attempt = 0; attempt < kMaxReplacements; ++attempt) {
        DataFileLock held(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        if (!held.isHeld())
            throw systemError(errno, QStringLiteral("Cannot open the data file"));
        while (::flock(held.m_fd, operation) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                throw systemError(errno, QStringLiteral("Cannot lock the data file"));
            if (deadline.hasExpired())
                throw RuntimeError(EngineErr::Busy,
                                   mode == Mode::Exclusive
                                       ? QStringLiteral("The data file is open in another Lockwell: it cannot be "
                                                        "replaced now.")
                                       : QStringLiteral("Another Lockwell is replacing the data file: try again "
                                                        "in a moment."),
                                   QStringLiteral("Lockwell"));
            QThread::msleep(kPollMs);
        }
        // Another Lockwell may have put a new file in its place while we waited: lock that one instead.
        if (sameFile(held.m_fd, native))
            return held;
    }
    throw RuntimeError(EngineErr::Busy, QStringLiteral("The data file keeps being replaced by another program."),
                       QStringLiteral("Lockwell"));
}
