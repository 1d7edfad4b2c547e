// Main: the program's start-up. One instance per user, decided before anything is shown; the splash; the
// login; only after a successful login the main window is loaded and shown. The program ends when the main window has
// closed (never because another window closed while it is hidden in the tray), when the login fails or is cancelled, or
// when it is asked to end (SIGTERM, SIGHUP, SIGINT, the session's end), in which case the main window closes through
// the same path as its close box.
#include "LockwellVersion.h"
#include "app/LoginValues.h"
#include "app/RunUntilClosed.h"
#include "app/ShutdownSignals.h"
#include "app/SingleInstance.h"
#include "crypto/ProcessHardening.h"
#include "errorreport/ReportDialogReporter.h"
#include "errorreport/frmBULWARK.h"
#include "errortrap/Bulwark.h"
#include "login/frmLogin.h"
#include "login/frmSplash.h"
#include "mainwindow/frmMain.h"
#include "tools/HelpViewer.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace {
constexpr const char* kModule = "Module1.bas";
constexpr int kSplashMilliseconds = 3000;
constexpr int kCloseDialogsMs = 50;

// Runs the login dialog; true when the user is in.
bool runLogin()
{
    BW_TRACE(kModule, "Function runLogin");
    frmLogin login;
    login.exec();
    return login.LoginSucceeded;
}

// What the program leaves behind in memory: no secret outlives it.
void wipeSession()
{
    BW_TRACE(kModule, "Sub wipeSession");
    LoginValues::wipe();
    // The cipher's key schedule is wiped by the cipher itself when the process ends.
}

int Main(QApplication& app)
{
    BW_TRACE(kModule, "Sub Main");
    // Held from here to the end: a second start, even one during this start's splash or login, ends.
    SingleInstance instance;
    if (instance.MultiInst())
        return 0;

    // Asked to end before the main window is loaded: every dialog that is or comes up is closed (the
    // welcome before the login, the login itself), and nothing more is shown.
    bool endRequested = false;
    QTimer closeDialogs;
    closeDialogs.setInterval(kCloseDialogsMs);
    QObject::connect(&closeDialogs, &QTimer::timeout, &app, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QPointer<frmMain> mainWindow;
    bool mainWindowLoaded = false;
    // A later start asks for the main window; before it is loaded, the dialog that is up comes forward.
    QObject::connect(&instance, &SingleInstance::restoreRequested, &app, [&] {
        if (mainWindowLoaded && mainWindow)
            mainWindow->restoreFromTray();
        else
            SingleInstance::bringToFront(QApplication::activeModalWidget());
    });
    ShutdownSignals shutdown;
    shutdown.install();
    QObject::connect(&shutdown, &ShutdownSignals::shutdownRequested, &app, [&] {
        if (mainWindowLoaded && mainWindow) {
            ShutdownSignals::closeGracefully(mainWindow);
            return;
        }
        endRequested = true;
        closeDialogs.start();
    });

    frmSplash::showFor(kSplashMilliseconds);
    QCoreApplication::processEvents(); // a request that came during the splash
    if (endRequested)
        return 0;

    auto window = std::make_unique<frmMain>(); // created, not loaded
    mainWindow = window.get();
    const bool loggedIn = !endRequested && runLogin();
    if (!loggedIn || endRequested) {
        wipeSession();
        return 0;
    }

    closeDialogs.stop();
    mainWindowLoaded = true;
    window->Form_Load();
    window->show();

    const int result = runUntilClosed(*window, [&] { return window->isFormUnloaded(); });
    wipeSession();
    return result;
}
} // namespace

int main(int argc, char* argv[])
{
    // Before anything else, and long before a password can be typed: no core dump, no reading of this
    // process's memory by others.
    ProcessHardening::apply();
    QApplication app(argc, argv);
    // No display name: Qt would append it to every title the window manager shows.
    QApplication::setApplicationName(QStringLiteral("Lockwell"));
    QApplication::setApplicationVersion(QString::fromLatin1(kLockwellVersion));
    // Errors are reported in the error report dialog, whose help button opens the manual's
    // troubleshooting section.
    installReportDialogReporter();
    frmBULWARK::setHelpHook([](QWidget* owner, const BwErrorReport&) {
        HelpViewer::showHelp(owner, HelpViewer::defaultHelpFilePath(), QStringLiteral("troubleshooting"));
    });
    const int result = Main(app);
    bwEndProgram();
    return result;
}
