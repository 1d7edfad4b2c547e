// The real program and the desktop session, on a private X server and a private session bus (the test
// runs under dbus-run-session): the screen saver's ActiveChanged(true) locks the records window, whose
// unlock button then asks for the password; a run without any session bus starts and works as before,
// and its core file size limit is zero. With LW_SCREENSHOT_DIR set, the locked window is saved there.
#include "DataFileFixtures.h"
#include "E2eDesktop.h"
#include "app/SettingsStore.h"
#include "login/PasswordVerifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/resource.h>

namespace {
const QString kLogin = QStringLiteral("^Lockwell Login$");
const QString kConfirm = QStringLiteral("^Confirm Password$");
const QString kMainWindow = QStringLiteral("^Lockwell Password Vault$");
constexpr int kStartMs = 60000; // 3 s of splash, and a sanitised build on a busy machine is slow to start
constexpr int kStepMs = 30000;
const QString kPassword = QStringLiteral("session pw");

// The soft and hard core file size limits of a running process, as /proc shows them to its user.
QStringList coreLimits(qint64 pid)
{
    QFile limits(QStringLiteral("/proc/%1/limits").arg(pid));
    if (!limits.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : limits.readAll().split('\n')) {
        if (line.startsWith("Max core file size"))
            return QString::fromLatin1(line.mid(int(qstrlen("Max core file size"))))
                .split(QLatin1Char(' '), Qt::SkipEmptyParts)
                .mid(0, 2);
    }
    return {};
}
} // namespace

class TestE2eSession : public QObject
{
    Q_OBJECT

    E2eDesktop m_desktop;

    // A registered user with a data file of one record, logged in; the records window's id.
    QString startAndLogIn(std::unique_ptr<QProcess>& program, const QStringList& environment = {})
    {
        SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("E2EUSER"));
        SettingsStore::write(QStringLiteral("Accounts\\E2EUSER"), QStringLiteral("PW"),
                             keyAndVerifierOf(SecretText(kPassword)).exposed().text());
        const QString file = QDir(m_desktop.configFolder()).filePath(QStringLiteral("session.lwd"));
        fixtures::makeDataFile(file, kPassword + QStringLiteral("K7352"),
                               {{"Alpha", "https://alpha.example", "al", "pw"}});
        program = m_desktop.startProgram(QStringLiteral("e2euser"), {file}, environment);
        const QString login = m_desktop.waitForWindow(kLogin, kStartMs);
        if (login.isEmpty() || !m_desktop.typeInto(login, kPassword) ||
            !m_desktop.pressIn(login, QStringLiteral("Return")))
            return QString();
        return m_desktop.waitForWindow(kMainWindow, kStepMs);
    }

    static bool endsCleanly(QProcess& program)
    {
        program.terminate();
        return program.waitForFinished(kStepMs) && program.exitStatus() == QProcess::NormalExit &&
               program.exitCode() == 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_desktop.start())
            QSKIP(qPrintable(m_desktop.skipReason()));
    }

    void init() { m_desktop.freshFolders(); }

    void theScreenLockLocksTheWindow()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no private session bus: run the test under dbus-run-session");
        std::unique_ptr<QProcess> program;
        const QString window = startAndLogIn(program);
        QVERIFY2(!window.isEmpty(), "no records window after the login");

        QDBusMessage locked =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/ScreenSaver"),
                                       QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"));
        locked << true;
        QVERIFY(QDBusConnection::sessionBus().send(locked));
        QTest::qWait(1000);
        const QString shots = qEnvironmentVariable("LW_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            QVERIFY(m_desktop.screenshot(window, QDir(shots).filePath(QStringLiteral("main-session-locked.png"))));

        // With the records hidden the unlock button is all that takes the keyboard; it asks for the password.
        QVERIFY(m_desktop.pressIn(window, QStringLiteral("Tab space")));
        const QString confirm = m_desktop.waitForWindow(kConfirm, kStepMs);
        QVERIFY2(!confirm.isEmpty(), "the window did not lock: no unlock button asked for the password");
        QVERIFY(m_desktop.typeInto(confirm, kPassword));
        QVERIFY(m_desktop.pressIn(confirm, QStringLiteral("Return")));
        QVERIFY(m_desktop.waitForNoWindow(kConfirm, kStepMs));
        QVERIFY(endsCleanly(*program));
    }

    void withoutASessionBusItRunsAsBeforeAndDumpsNoCore()
    {
        // The program is given a core limit to lower: as much as this process may raise its own.
        rlimit own{};
        QCOMPARE(getrlimit(RLIMIT_CORE, &own), 0);
        const rlimit raised{own.rlim_max, own.rlim_max};
        if (raised.rlim_cur == 0)
            QSKIP("core dumps are off for this user: a zero limit would prove nothing");
        QCOMPARE(setrlimit(RLIMIT_CORE, &raised), 0);
        const QString noBus = QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=") +
                              QDir(m_desktop.configFolder()).filePath(QStringLiteral("no-bus"));
        std::unique_ptr<QProcess> program;
        const QString window = startAndLogIn(program, {noBus});
        QCOMPARE(setrlimit(RLIMIT_CORE, &own), 0);
        QVERIFY2(!window.isEmpty(), "no records window after the login");

        QCOMPARE(coreLimits(program->processId()), QStringList({QStringLiteral("0"), QStringLiteral("0")}));
        // Not locked: Tab and space reach the record boxes, and nothing asks for the password.
        QVERIFY(m_desktop.pressIn(window, QStringLiteral("Tab space")));
        QVERIFY(m_desktop.waitForWindow(kConfirm, 2000).isEmpty());
        QVERIFY(endsCleanly(*program));
    }
};

QTEST_GUILESS_MAIN(TestE2eSession)
#include "test_e2e_session.moc"
