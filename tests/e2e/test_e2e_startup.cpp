// The real program from start to end: registering through the real dialogs, a cancelled login, a
// second start while one runs, and SIGTERM ending the program through its normal shut-down.
// With LW_SCREENSHOT_DIR set, the registration run also saves pictures of the splash, the welcome
// and the login there.
#include "E2eDesktop.h"
#include "app/SettingsStore.h"
#include "login/PasswordVerifier.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {
const QString kSplash = QStringLiteral("^Lockwell$");
const QString kWelcome = QStringLiteral("^Welcome to Lockwell$");
const QString kLogin = QStringLiteral("^Lockwell Login$");
const QString kConfirm = QStringLiteral("^Confirm Password$");
const QString kMainWindow = QStringLiteral("^Lockwell Password Vault$");
constexpr int kStartMs = 30000; // 3 s of splash, and a sanitised build is slow to start
constexpr int kStepMs = 15000;
const QString kUserSettings = QStringLiteral("Accounts\\E2EUSER\\Settings");

// A user who has logged in before: no welcome, the name filled in.
void seedRegisteredUser(const QString& password)
{
    SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("E2EUSER"));
    SettingsStore::write(QStringLiteral("Accounts\\E2EUSER"), QStringLiteral("PW"),
                         keyAndVerifierOf(SecretText(password)).exposed().text());
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
        seedRegisteredUser(QStringLiteral("second start"));
        auto first = m_desktop.startProgram();
        logIn(QStringLiteral("second start"));
        const QString window = m_desktop.waitForWindow(kMainWindow, kStepMs);
        QVERIFY(m_desktop.unmap(window));
        QVERIFY(m_desktop.waitForNoWindow(kMainWindow, kStepMs));

        // The second start ends on its own, and no splash of it is ever seen on the way.
        auto second = m_desktop.startProgram();
        bool splashSeen = false;
        QElapsedTimer took;
        took.start();
        while (!second->waitForFinished(50) && took.elapsed() < kStepMs)
            splashSeen = splashSeen || !m_desktop.waitForWindow(kSplash, 0).isEmpty();
        QVERIFY(endsCleanly(*second, 0));
        QVERIFY(!splashSeen);
        QVERIFY2(!m_desktop.waitForWindow(kMainWindow, kStepMs).isEmpty(), "the first window did not come back");
        QCOMPARE(first->state(), QProcess::Running);

        first->terminate();
        QVERIFY(endsCleanly(*first, kStepMs));
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
