#include "app/ShutdownSignals.h"

#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr const char* kModule = "ShutdownSignals.cpp";
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kCloseRetryMs = 50;

// The self-pipe: the handler writes one byte to [0]; the notifier reads [1] on the event loop.
int g_pipe[2] = {-1, -1};

extern "C" void onShutdownSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1); // a full pipe already says it
    errno = savedErrno;
}

void closeModalDialogs()
{
    BW_TRACE(kModule, "Sub closeModalDialogs");
    // Each reject ends that dialog's loop; the dialog's owner sees an ordinary cancel.
    for (int guard = 0; guard < 32; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            return; // it refused to close; try again later
    }
}

void closeWhenUnwound(QPointer<QWidget> mainWindow, int attemptsLeft)
{
    BW_TRACE(kModule, "Sub closeWhenUnwound");
    if (!mainWindow)
        return;
    closeModalDialogs();
    if (QApplication::activeModalWidget() && attemptsLeft > 0) {
        QTimer::singleShot(kCloseRetryMs, mainWindow,
                           [mainWindow, attemptsLeft] { closeWhenUnwound(mainWindow, attemptsLeft - 1); });
        return;
    }
    // A window hidden in the tray closes without being the last visible one: end the loop as well.
    if (mainWindow->close())
        QCoreApplication::quit();
}
} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {}

ShutdownSignals::~ShutdownSignals()
{
    BW_TRACE(kModule, "Sub ~ShutdownSignals");
    if (!m_installed)
        return;
    for (int signalNumber : kSignals)
        std::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

bool ShutdownSignals::install()
{
    BW_TRACE(kModule, "Function install");
    if (m_installed || g_pipe[0] != -1)
        return false;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return false;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::signalArrived);

    struct sigaction action
    {
    };
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kSignals)
        sigaction(signalNumber, &action, nullptr);

    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &ShutdownSignals::sessionEnding, Qt::DirectConnection);
    m_installed = true;
    return true;
}

void ShutdownSignals::signalArrived()
{
    BW_TRACE(kModule, "Sub signalArrived");
    char bytes[64];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    Q_EMIT shutdownRequested();
}

void ShutdownSignals::sessionEnding(QSessionManager&)
{
    BW_TRACE(kModule, "Sub sessionEnding");
    Q_EMIT shutdownRequested();
}

void ShutdownSignals::closeGracefully(QWidget* mainWindow)
{
    BW_TRACE(kModule, "Sub closeGracefully");
    // A close from inside a dialog's loop would unload windows that loop still runs on: wait for the
    // loops to unwind first (for at most a few seconds: a dialog that will not close does not keep the
    // program alive).
    constexpr int kAttempts = 60;
    QPointer<QWidget> target(mainWindow);
    closeModalDialogs();
    QTimer::singleShot(0, mainWindow, [target] { closeWhenUnwound(target, kAttempts); });
}
