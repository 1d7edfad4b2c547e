// The session lock watcher on a private bus (the test runs under dbus-run-session), which stands for
// both the session bus and the system bus, with a stand-in logind that names this process's session.
// Only the signals that mean the user has left the screen lock; the others, and another session's, do not.
#include "desktop/SessionLockWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kOurSession = QStringLiteral("/org/freedesktop/login1/session/_32");
const QString kOtherSession = QStringLiteral("/org/freedesktop/login1/session/_33");
} // namespace

class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public Q_SLOTS:
    QDBusObjectPath GetSessionByPID(uint) { return QDBusObjectPath(kOurSession); }
};

class TestSessionLockWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void locksOnlyWhenTheUserLeavesTheScreen()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no private session bus: run the test under dbus-run-session");
        // logind on a connection of its own, so that its signals come from the name's owner.
        QDBusConnection logind = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("logind"));
        FakeLogind manager;
        QVERIFY(logind.registerService(QStringLiteral("org.freedesktop.login1")));
        QVERIFY(logind.registerObject(kLogindPath, &manager, QDBusConnection::ExportAllSlots));

        SessionLockWatcher watcher(QDBusConnection::sessionBus(), QDBusConnection::sessionBus());
        QTRY_COMPARE(watcher.sessionPath(), kOurSession);
        QSignalSpy locked(&watcher, &SessionLockWatcher::sessionLocked);

        const auto signal = [&](const QString& path, const char* interface, const char* name,
                                const QVariantList& args) {
            QDBusMessage message =
                QDBusMessage::createSignal(path, QString::fromLatin1(interface), QString::fromLatin1(name));
            message.setArguments(args);
            QVERIFY(logind.send(message));
        };
        const auto active = [](bool on) {
            return QVariantList{QStringLiteral("org.freedesktop.login1.Session"),
                                QVariantMap{{QStringLiteral("Active"), on}}, QStringList()};
        };
        // Each step sends what must not lock, then one thing that must; signals from one sender arrive in
        // order, so one more lock and no other means the first did nothing.
        signal(kLogindPath, "org.freedesktop.login1.Manager", "PrepareForSleep", {false}); // waking up
        signal(kLogindPath, "org.freedesktop.login1.Manager", "PrepareForSleep", {true});
        QTRY_COMPARE(locked.count(), 1);
        signal(kOtherSession, "org.freedesktop.login1.Session", "Lock", {});
        signal(kOurSession, "org.freedesktop.login1.Session", "Lock", {});
        QTRY_COMPARE(locked.count(), 2);
        signal(kOurSession, "org.freedesktop.DBus.Properties", "PropertiesChanged", active(true));
        signal(kOtherSession, "org.freedesktop.DBus.Properties", "PropertiesChanged", active(false));
        signal(kOurSession, "org.freedesktop.DBus.Properties", "PropertiesChanged", active(false));
        QTRY_COMPARE(locked.count(), 3);
        signal(QStringLiteral("/ScreenSaver"), "org.freedesktop.ScreenSaver", "ActiveChanged", {false});
        signal(QStringLiteral("/ScreenSaver"), "org.freedesktop.ScreenSaver", "ActiveChanged", {true});
        QTRY_COMPARE(locked.count(), 4);
        signal(QStringLiteral("/org/gnome/ScreenSaver"), "org.gnome.ScreenSaver", "ActiveChanged", {true});
        QTRY_COMPARE(locked.count(), 5);
        QTest::qWait(200);
        QCOMPARE(locked.count(), 5);
    }
};

QTEST_GUILESS_MAIN(TestSessionLockWatcher)
#include "test_sessionlockwatcher.moc"
