#include "mainwindow/SecurityLock.h"

#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"

#include <limits>

namespace {
constexpr char kModule[] = "SecurityLock.cpp";
constexpr int kOneMinute = 60000;
} // namespace

SecurityLock::SecurityLock(QObject* parent) : QObject(parent) {}

void SecurityLock::restart()
{
    BW_TRACE(kModule, "Sub restart");
    // Starting a running QTimer again counts a fresh interval from now.
    m_timer.start(kOneMinute);
    m_left = m_start;
    setLocked(false);
}

void SecurityLock::tick()
{
    BW_TRACE(kModule, "Sub tick");
    // A stopped timer does not fire, but a tick after the count ran out must not wrap it round to a
    // large positive count.
    if (m_left > std::numeric_limits<qint16>::min())
        --m_left;
    if (m_left >= 1)
        return;
    if (Options.TimeoutOn)
        lock();
    else
        stop();
}

void SecurityLock::stop()
{
    BW_TRACE(kModule, "Sub stop");
    m_timer.stop();
    m_timer.setInterval(0);
}

void SecurityLock::lock()
{
    BW_TRACE(kModule, "Sub lock");
    stop();
    setLocked(true);
}

void SecurityLock::unlock()
{
    BW_TRACE(kModule, "Sub unlock");
    setLocked(false);
}

void SecurityLock::setLocked(bool locked)
{
    if (m_locked == locked)
        return;
    m_locked = locked;
    Q_EMIT lockedChanged(locked);
}
