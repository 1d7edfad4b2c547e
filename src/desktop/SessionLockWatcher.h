#pragma once
// Tells when the desktop session stops being the user's to look at: the screen locks, the session is
// switched away from, or the machine goes to sleep. It listens on D-Bus:
//   - the session bus: org.freedesktop.ScreenSaver and org.gnome.ScreenSaver ActiveChanged(true), from
//     any sender and path (KDE sends it on two paths, GNOME on its own);
//   - the system bus: logind's PrepareForSleep(true), and for this process's own logind session its
//     Lock signal and its Active property turning false (another session was switched to).
// Where a bus or a service is missing nothing is heard and nothing fails. Nothing here asks whether
// the screen is locked now: only the moment it locks counts.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QDBusPendingCallWatcher;

class SessionLockWatcher : public QObject
{
    Q_OBJECT

public:
    // Listens on the user's session bus and the system bus.
    explicit SessionLockWatcher(QObject* parent = nullptr);
    // Listens on the buses given (a test's private bus may stand for both).
    SessionLockWatcher(const QDBusConnection& sessionBus, const QDBusConnection& systemBus, QObject* parent = nullptr);

    // The logind session whose Lock and Active are watched, once logind has named it; empty until then,
    // and for good where there is no logind or the process is in no session.
    QString sessionPath() const { return m_sessionPath; }

Q_SIGNALS:
    // The screen locked, the session was switched away from or locked, or the machine is going to sleep.
    void sessionLocked();

private Q_SLOTS:
    void screenSaverActiveChanged(bool active);
    void prepareForSleep(bool start);
    void sessionLock();
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void sessionPathAnswered(QDBusPendingCallWatcher* call);

private:
    void watchSessionBus();
    void watchSystemBus();
    void askLogind(const QString& method, const QVariant& argument);

    QDBusConnection m_session;
    QDBusConnection m_system;
    QString m_sessionPath;
    bool m_askedBySessionId = false;
};
