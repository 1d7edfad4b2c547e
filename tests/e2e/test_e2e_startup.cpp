// The real program from start to end: registering through the real dialogs, a cancelled login, a
// second start while one runs, SIGTERM ending the program through its normal shut-down, and a session
// with Caps Lock, the filter boxes and the tray menu. Windows are found by the title the window manager
// shows. With LW_SCREENSHOT_DIR set, the runs also save pictures of the splash, the welcome, the login,
// the Caps Lock warning and the tray menu there.
#include "DataFileFixtures.h"
#include "E2eDesktop.h"
#include "app/SettingsStore.h"
#include "login/PasswordVerifier.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QtTest>

namespace {
const QString kSplash = QStringLiteral("^Lockwell$");
const QString kWelcome = QStringLiteral("^Welcome to Lockwell$");
const QString kLogin = QStringLiteral("^Lockwell Login$");
const QString kConfirm = QStringLiteral("^Confirm Password$");
const QString kMainWindow = QStringLiteral("^Lockwell Password Vault$");
constexpr int kStartMs = 60000; // 3 s of splash, and a sanitised build on a busy machine is slow to start
constexpr int kStepMs = 30000;
const QString kUserSettings = QStringLiteral("Accounts\\E2EUSER\\Settings");
// From the grid, where the window opens with the focus once a file is loaded, on along the tab order past
// the Account/URL choice to the begins-with filter box.
constexpr const char* kTabsToTheFilterBox = "Tab Tab";

// A user who has logged in before: no welcome, the name filled in.
void seedRegisteredUser(const QString& password)
{
    SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("E2EUSER"));
    SettingsStore::write(QStringLiteral("Accounts\\E2EUSER"), QStringLiteral("PW"),
                         keyAndVerifierOf(SecretText(password)).exposed().text());
}

// A screenshot into LW_SCREENSHOT_DIR, when it is set.
bool screenshotWanted(const char* name, QString& path)
{
    const QString shots = qEnvironmentVariable("LW_SCREENSHOT_DIR");
    path = QDir(shots).filePath(QString::fromLatin1(name));
    return !shots.isEmpty();
}

bool endsCleanly(QProcess& program, int timeoutMs)
{
    return (program.state() == QProcess::NotRunning || program.waitForFinished(timeoutMs)) &&
           program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
}
} // namespace

class TestE2eStartup : public QObject
{
    Q_OBJECT

    E2eDesktop m_desktop;

    void logIn(const QString& password)
    {
        const QString login = m_desktop.waitForWindow(kLogin, kStartMs);
        QVERIFY2(!login.isEmpty(), "no login dialog");
        QVERIFY(m_desktop.typeInto(login, password));
        QVERIFY(m_desktop.pressIn(login, QStringLiteral("Return")));
        QVERIFY2(!m_desktop.waitForWindow(kMainWindow, kStepMs).isEmpty(), "no main window after the login");
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_desktop.start())
            QSKIP(qPrintable(m_desktop.skipReason()));
    }

    void init() { m_desktop.freshFolders(); }

    void registersANewUserThroughTheDialogs()
    {
        const QString shots = qEnvironmentVariable("LW_SCREENSHOT_DIR");
        auto program = m_desktop.startProgram();
        if (!shots.isEmpty()) {
            const QString splash = m_desktop.waitForWindow(kSplash, kStepMs);
            QTest::qWait(300);
            QVERIFY(m_desktop.screenshot(splash, QDir(shots).filePath(QStringLiteral("splash.png"))));
        }
        const QString welcome = m_desktop.waitForWindow(kWelcome, kStartMs);
        QVERIFY2(!welcome.isEmpty(), "no welcome on the first start");
        if (!shots.isEmpty())
            QVERIFY(m_desktop.screenshot(welcome, QDir(shots).filePath(QStringLiteral("welcome.png"))));
        QVERIFY(m_desktop.pressIn(welcome, QStringLiteral("Return")));

        const QString login = m_desktop.waitForWindow(kLogin, kStepMs);
        QVERIFY(!login.isEmpty());
        QVERIFY(m_desktop.typeInto(login, QStringLiteral("Vault pw 42")));
        if (!shots.isEmpty())
            QVERIFY(m_desktop.screenshot(login, QDir(shots).filePath(QStringLiteral("login.png"))));
        QVERIFY(m_desktop.pressIn(login, QStringLiteral("Return")));
        const QString confirm = m_desktop.waitForWindow(kConfirm, kStepMs);
        QVERIFY2(!confirm.isEmpty(), "a new user is not asked to confirm the password");
        QVERIFY(m_desktop.typeInto(confirm, QStringLiteral("Vault pw 42")));
        QVERIFY(m_desktop.pressIn(confirm, QStringLiteral("Return")));
        QVERIFY2(!m_desktop.waitForWindow(kMainWindow, kStepMs).isEmpty(), "no main window after registering");

        // The offered name was the system user's, stored in upper case with the new verifier.
        QCOMPARE(SettingsStore::read(QStringLiteral("LastLogin"), QStringLiteral("Name")), QStringLiteral("E2EUSER"));
        QCOMPARE(SettingsStore::read(QStringLiteral("Accounts\\E2EUSER"), QStringLiteral("PW")),
                 keyAndVerifierOf(SecretText(u"Vault pw 42")).exposed().text());
        program->terminate();
        QVERIFY(endsCleanly(*program, kStepMs));
    }

    void cancellingTheLoginEndsTheProgramAndWritesNothing()
    {
        auto program = m_desktop.startProgram();
        const QString welcome = m_desktop.waitForWindow(kWelcome, kStartMs);
        QVERIFY(!welcome.isEmpty());
        QVERIFY(m_desktop.pressIn(welcome, QStringLiteral("Return")));
        const QString login = m_desktop.waitForWindow(kLogin, kStepMs);
        QVERIFY(!login.isEmpty());
        QVERIFY(m_desktop.pressIn(login, QStringLiteral("Escape")));
        QVERIFY(endsCleanly(*program, kStepMs));
        QVERIFY(m_desktop.waitForWindow(kMainWindow, 0, false).isEmpty()); // never created on screen
        QVERIFY(!QFile::exists(SettingsStore::filePath()));
    }

    void aSecondStartBringsTheFirstForwardAndEnds()
    {
        // A second start ends on its own, and no splash of it is ever seen on the way.
        const auto endsWithoutASplash = [this](QProcess& second) {
            bool splashSeen = false;
            QElapsedTimer took;
            took.start();
            while (!second.waitForFinished(50) && took.elapsed() < kStepMs)
                splashSeen = splashSeen || !m_desktop.waitForWindow(kSplash, 0).isEmpty();
            return endsCleanly(second, 0) && !splashSeen;
        };
        seedRegisteredUser(QStringLiteral("second start"));
        auto first = m_desktop.startProgram();
        // Also while the first is still at its login.
        QVERIFY(!m_desktop.waitForWindow(kLogin, kStartMs).isEmpty());
        QVERIFY(endsWithoutASplash(*m_desktop.startProgram()));
        logIn(QStringLiteral("second start"));
        const QString window = m_desktop.waitForWindow(kMainWindow, kStepMs);
        QVERIFY(m_desktop.unmap(window));
        QVERIFY(m_desktop.waitForNoWindow(kMainWindow, kStepMs));

        QVERIFY(endsWithoutASplash(*m_desktop.startProgram()));
        QVERIFY2(!m_desktop.waitForWindow(kMainWindow, kStepMs).isEmpty(), "the first window did not come back");
        QCOMPARE(first->state(), QProcess::Running);

        first->terminate();
        QVERIFY(endsCleanly(*first, kStepMs));
    }

    // A user's session on a desktop with a tray: a refused login with Caps Lock on (the warning is in the
    // screenshot), editing keys in the filter box as X11 sends them, and the tray menu through the
    // platform's route.
    void capsLockFilterKeysAndTheTrayMenu()
    {
        if (!m_desktop.startTray())
            QSKIP(qPrintable(m_desktop.skipReason()));
        seedRegisteredUser(QStringLiteral("tray pass"));
        const QString file = QDir(m_desktop.configFolder()).filePath(QStringLiteral("session.lwd"));
        fixtures::makeDataFile(file, QStringLiteral("tray passK7352"), {{"Alpha", "https://alpha.example"}});
        auto program = m_desktop.startProgram(QStringLiteral("e2euser"), {file});
        QString shot;

        const QString login = m_desktop.waitForWindow(kLogin, kStartMs);
        QVERIFY(!login.isEmpty());
        // Caps Lock is the X server's: turned off again however the test ends.
        QVERIFY(m_desktop.press(QStringLiteral("Caps_Lock")));
        bool capsOn = true;
        const auto capsOff = qScopeGuard([&] {
            if (capsOn)
                m_desktop.press(QStringLiteral("Caps_Lock"));
        });
        QVERIFY(m_desktop.typeInto(login, QStringLiteral("wrong")));
        QVERIFY(m_desktop.pressIn(login, QStringLiteral("Return")));
        const QString refusal = m_desktop.waitForWindow(QStringLiteral("^Login$"), kStepMs);
        QVERIFY2(!refusal.isEmpty(), "no refusal titled exactly Login");
        if (screenshotWanted("login-capslock.png", shot))
            QVERIFY(m_desktop.screenshotArea(
                m_desktop.geometry(login).united(m_desktop.geometry(refusal)).adjusted(-20, -20, 20, 20), shot));
        QVERIFY(m_desktop.pressIn(refusal, QStringLiteral("Return")));
        QVERIFY(m_desktop.press(QStringLiteral("Caps_Lock")));
        capsOn = false;
        QVERIFY(m_desktop.typeInto(login, QStringLiteral("tray pass"))); // the refused password is selected
        QVERIFY(m_desktop.pressIn(login, QStringLiteral("Return")));
        const QString window = m_desktop.waitForWindow(kMainWindow, kStepMs);
        QVERIFY2(!window.isEmpty(), "no main window after the login");

        // Home, Delete and End, BackSpace edit the begins-with filter; the copy shows what is left.
        QVERIFY(m_desktop.pressIn(window, QString::fromLatin1(kTabsToTheFilterBox)));
        QVERIFY(m_desktop.typeInto(window, QStringLiteral("abcd")));
        QVERIFY(m_desktop.press(QStringLiteral("Home Delete End BackSpace ctrl+a ctrl+c")));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop.clipboard(), QStringLiteral("bc"), kStepMs);

        // The tray's menu, as the tray pops it up: "&Open Lockwell" brings the window back.
        const QRect tray = m_desktop.geometry(m_desktop.trayWindow());
        QVERIFY(m_desktop.unmap(window));
        QVERIFY(m_desktop.waitForNoWindow(kMainWindow, kStepMs));
        QVERIFY(m_desktop.clickAt(tray.center(), 3));
        QTest::qWait(500);
        if (screenshotWanted("tray-menu.png", shot)) {
            const QSize screen = m_desktop.screenSize();
            QVERIFY(m_desktop.screenshotArea(QRect(screen.width() - 320, screen.height() - 180, 320, 180), shot));
        }
        QVERIFY(m_desktop.press(QStringLiteral("o")));
        QVERIFY2(!m_desktop.waitForWindow(kMainWindow, kStepMs).isEmpty(), "Open did not bring the window back");

        // "&Close" ends the program through the window's own shut-down.
        QVERIFY(m_desktop.clickAt(tray.center(), 3));
        QTest::qWait(500);
        QVERIFY(m_desktop.press(QStringLiteral("c")));
        QVERIFY(endsCleanly(*program, kStepMs));
        QCOMPARE(SettingsStore::read(kUserSettings, QStringLiteral("DBpath")), file);
    }

    void sigtermEndsThroughTheNormalShutDown()
    {
        seedRegisteredUser(QStringLiteral("term me"));
        auto program = m_desktop.startProgram();
        logIn(QStringLiteral("term me"));
        QVERIFY(SettingsStore::read(kUserSettings, QStringLiteral("MainLeft")).isEmpty());

        program->terminate(); // SIGTERM
        QVERIFY(endsCleanly(*program, kStepMs));
        // What the main window writes when it closes is there.
        QVERIFY(!SettingsStore::read(kUserSettings, QStringLiteral("MainLeft")).isEmpty());
        QVERIFY(!SettingsStore::read(kUserSettings, QStringLiteral("ColURL")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestE2eStartup)
#include "test_e2e_startup.moc"
