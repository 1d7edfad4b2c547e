#include "app/SingleInstance.h"

#include "app/StringTable.h"
#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QWidget>
#include <QWindow>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr const char* kModule = "SingleInstance.cpp";
constexpr int kConnectWaitMs = 1000;
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

QString channelFolder()
{
    BW_TRACE(kModule, "Function channelFolder");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

// True when an instance accepts a connection on the channel; it is then sent the restore request.
bool reachRunningInstance(const QString& name, bool askToRestore)
{
    BW_TRACE(kModule, "Function reachRunningInstance");
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectWaitMs))
        return false;
    if (askToRestore) {
        socket.write(kRestoreRequest);
        socket.waitForBytesWritten(kConnectWaitMs);
    }
    socket.disconnectFromServer();
    return true;
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
    m_server.close(); // removes the socket file
}

QString SingleInstance::channelName()
{
    BW_TRACE(kModule, "Function channelName");
    const QString banner = LoadResString(kTitleBannerId);
    return channelFolder() + QLatin1Char('/') + banner + QStringLiteral(" - ") + accountName();
}

bool SingleInstance::MultiInst()
{
    BW_TRACE(kModule, "Function MultiInst");
    return reachRunningInstance(channelName(), true);
}

bool SingleInstance::listen()
{
    BW_TRACE(kModule, "Function listen");
    const QString name = channelName();
    // Binding would quietly take the channel over from an instance that answers on it.
    if (reachRunningInstance(name, false))
        return false;
    // Nobody answers: a file there is left from an instance that ended without closing it.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
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
