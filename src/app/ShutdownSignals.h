#pragma once
// Ending gracefully when asked from outside: SIGTERM, SIGHUP and SIGINT, and the end of the desktop
// session. Each becomes one Qt signal on the user-interface thread, so the program can close its main
// window through the same path as its close box and lose nothing.
#include <QObject>

class QSocketNotifier;
class QSessionManager;
class QWidget;

class ShutdownSignals : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    // Puts the default actions of the three signals back.
    ~ShutdownSignals() override;

    // Catches SIGTERM, SIGHUP and SIGINT and listens for the session's end. One instance at a time.
    bool install();

    // Closes whatever modal dialogs are up, then the main window through its own close path, once the
    // dialogs' loops have unwound, and ends the event loop when the window has closed.
    static void closeGracefully(QWidget* mainWindow);

Q_SIGNALS:
    // Someone asked the program to end.
    void shutdownRequested();

private:
    void signalArrived();
    void sessionEnding(QSessionManager& manager);

    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
};
