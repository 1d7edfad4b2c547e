#include "desktop/SessionLockWatcher.h"

#include "errortrap/Bulwark.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <unistd.h>

namespace {
constexpr char kModule[] = "SessionLockWatcher.cpp";

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kLogindSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kActive = QStringLiteral("Active");
} // namespace

SessionLockWatcher::SessionLockWatcher(QObject* parent)
    : SessionLockWatcher(QDBusConnection::sessionBus(), QDBusConnection::systemBus(), parent)
{
}

SessionLockWatcher::SessionLockWatcher(const QDBusConnection& sessionBus, const QDBusConnection& systemBus,
                                       QObject* parent)
    : QObject(parent), m_session(sessionBus), m_system(systemBus)
{
    BW_TRACE(kModule, "Sub SessionLockWatcher");
    if (m_session.isConnected())
        watchSessionBus();
    if (m_system.isConnected())
        watchSystemBus();
}

void SessionLockWatcher::watchSessionBus()
{
    BW_TRACE(kModule, "Sub watchSessionBus");
    // Any sender: the screen saver is whoever owns its name, and locking can do no harm whoever asks.
    for (const char* screenSaver : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"})
        m_session.connect(QString(), QString(), QString::fromLatin1(screenSaver), QStringLiteral("ActiveChanged"), this,
                          SLOT(screenSaverActiveChanged(bool)));
}

void SessionLockWatcher::watchSystemBus()
{
    BW_TRACE(kModule, "Sub watchSystemBus");
    m_system.connect(kLogind, kLogindPath, kLogindManager, QStringLiteral("PrepareForSleep"), this,
                     SLOT(prepareForSleep(bool)));
    // The session's signals come from its own object, which logind names when asked. The call is not
    // waited for: start-up does not hang on a slow system bus.
    askLogind(QStringLiteral("GetSessionByPID"), QVariant::fromValue(uint(getpid())));
}

void SessionLockWatcher::askLogind(const QString& method, const QVariant& argument)
{
    BW_TRACE(kModule, "Sub askLogind");
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, method);
    call << argument;
    auto* answer = new QDBusPendingCallWatcher(m_system.asyncCall(call), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, &SessionLockWatcher::sessionPathAnswered);
}

void SessionLockWatcher::sessionPathAnswered(QDBusPendingCallWatcher* call)
{
    BW_TRACE(kModule, "Sub sessionPathAnswered");
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        // A process started outside the session (by a service manager, say) still knows its session id.
        const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
        if (!m_askedBySessionId && !sessionId.isEmpty()) {
            m_askedBySessionId = true;
            askLogind(QStringLiteral("GetSession"), sessionId);
        }
        return;
    }
    m_sessionPath = reply.value().path();
    m_system.connect(kLogind, m_sessionPath, kLogindSession, QStringLiteral("Lock"), this, SLOT(sessionLock()));
    m_system.connect(kLogind, m_sessionPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                     QStringLiteral("PropertiesChanged"), this,
                     SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
}

void SessionLockWatcher::screenSaverActiveChanged(bool active)
{
    BW_TRACE(kModule, "Sub screenSaverActiveChanged");
    if (active)
        Q_EMIT sessionLocked();
}

void SessionLockWatcher::prepareForSleep(bool start)
{
    BW_TRACE(kModule, "Sub prepareForSleep");
    if (start)
        Q_EMIT sessionLocked();
}

void SessionLockWatcher::sessionLock()
{
    BW_TRACE(kModule, "Sub sessionLock");
    Q_EMIT sessionLocked();
}

void SessionLockWatcher::sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                                  const QStringList& invalidated)
{
    BW_TRACE(kModule, "Sub sessionPropertiesChanged");
    if (interface != kLogindSession)
        return;
    // Switched away from: Active turns false. A change announced without its value counts too; when it
    // is the switch back, the window is locked already from the switch away.
    if ((changed.contains(kActive) && !changed.value(kActive).toBool()) || invalidated.contains(kActive))
        Q_EMIT sessionLocked();
}
