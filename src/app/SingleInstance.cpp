#include "app/SingleInstance.h"

#include "app/StringTable.h"
#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr const char* kModule = "SingleInstance.cpp";
constexpr int kConnectWaitMs = 1000;
constexpr int kSocketAttempts = 5;
const QByteArray kRestoreRequest = QByteArrayLiteral("restore\n");

QString accountName()
{
    BW_TRACE(kModule, "Function accountName");
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(getuid());
}

// A folder (not a link to one) of this user's that nobody else can write.
bool isPrivateFolder(const QString& path)
{
    BW_TRACE(kModule, "Function isPrivateFolder");
    struct stat st
    {
    };
    return QDir::isAbsolutePath(path) && ::lstat(QFile::encodeName(path).constData(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The name the guard's holder answers on, from the guard file; empty when it has none (yet).
QString channelOf(int guard)
{
    BW_TRACE(kModule, "Function channelOf");
    char name[1024] = {};
    const ssize_t got = ::pread(guard, name, sizeof name - 1, 0);
    return got > 0 ? QFile::decodeName(QByteArray(name, int(got))) : QString();
}

// Puts text in the guard file in place of what it held; false when it could not.
bool rewriteGuard(int guard, const QByteArray& text)
{
    BW_TRACE(kModule, "Function rewriteGuard");
    return ::ftruncate(guard, 0) == 0 && ::pwrite(guard, text.constData(), size_t(text.size()), 0) == text.size();
}

// Asks the instance answering on the channel to bring its window to the front.
void askToRestore(const QString& channel)
{
    BW_TRACE(kModule, "Sub askToRestore");
    if (channel.isEmpty())
        return;
    QLocalSocket socket;
    socket.connectToServer(channel);
    if (!socket.waitForConnected(kConnectWaitMs))
        return;
    socket.write(kRestoreRequest);
    socket.waitForBytesWritten(kConnectWaitMs);
    socket.disconnectFromServer();
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    BW_TRACE(kModule, "Sub SingleInstance");
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answerLaterStart);
}

SingleInstance::~SingleInstance()
{
    BW_TRACE(kModule, "Sub ~SingleInstance");
    m_server.close(); // removes the socket this instance made
    if (m_guard >= 0) {
        rewriteGuard(m_guard, QByteArray()); // the file stays for the next start, naming no channel
        ::close(m_guard);
    }
}

QString SingleInstance::privateFolder()
{
    BW_TRACE(kModule, "Function privateFolder");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime))
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return QString();
    const QString folder = cache + QStringLiteral("/lockwell");
    ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU);
    return isPrivateFolder(folder) ? folder : QString();
}

QString SingleInstance::guardPath()
{
    BW_TRACE(kModule, "Function guardPath");
    const QString folder = privateFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + LoadResString(kTitleBannerId) + QStringLiteral(" - ") + accountName() +
           QStringLiteral(".lock");
}

bool SingleInstance::MultiInst()
{
    BW_TRACE(kModule, "Function MultiInst");
    const QString path = guardPath();
    if (path.isEmpty() || m_guard >= 0)
        return false;
    const int guard =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (guard < 0)
        return false;
    if (::flock(guard, LOCK_EX | LOCK_NB) == 0) {
        m_guard = guard;
        listen(path.chopped(int(qstrlen(".lock"))));
        return false;
    }
    const QString channel = channelOf(guard);
    ::close(guard);
    askToRestore(channel);
    return true;
}

void SingleInstance::listen(const QString& name)
{
    BW_TRACE(kModule, "Sub listen");
    // A name of this run's own: a socket left by an instance that crashed is never in the way, and
    // nothing another run made is removed.
    const QString base = name + QLatin1Char('.') + QString::number(::getpid()) + QLatin1Char('-');
    for (int attempt = 0; attempt < kSocketAttempts && !m_server.isListening(); ++attempt)
        m_server.listen(base + QString::number(QRandomGenerator::system()->generate(), 16));
    if (!m_server.isListening())
        return; // still the only instance; a later start just cannot bring this one forward
    // A later start reads the socket's name here (a failure costs the same as a socket not made).
    rewriteGuard(m_guard, QFile::encodeName(m_server.fullServerName()));
}

bool SingleInstance::isListening() const
{
    return m_server.isListening();
}

void SingleInstance::answerLaterStart()
{
    BW_TRACE(kModule, "Sub answerLaterStart");
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromServer();
        Q_EMIT restoreRequested();
    }
}

void SingleInstance::bringToFront(QWidget* window)
{
    BW_TRACE(kModule, "Sub bringToFront");
    if (!window)
        return;
    // A window the desktop unmapped behind our back still counts as shown: hide it first so the
    // show below maps it again.
    if (window->isVisible() && window->windowHandle() && !window->windowHandle()->isExposed() && !window->isMinimized())
        window->hide();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
