#include "tools/SecurityCountdown.h"

#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"

#include <limits>

namespace {
constexpr const char* kModule = "SecurityCountdown.cpp";
}

SecurityCountdown::SecurityCountdown(qint16 start) : m_start(start), m_countdown(start) {}

void SecurityCountdown::setStart(qint16 minutes)
{
    BW_TRACE(kModule, "Sub setStart");
    m_start = minutes;
}

void SecurityCountdown::restart()
{
    BW_TRACE(kModule, "Sub restart");
    m_countdown = m_start;
    m_locked = false;
}

void SecurityCountdown::clearLocked()
{
    BW_TRACE(kModule, "Sub clearLocked");
    m_locked = false;
}

SecurityCountdown::TickResult SecurityCountdown::tick()
{
    BW_TRACE(kModule, "Function tick");
    // A stopped timer does not fire, but a tick after the count ran out must not wrap it round to a
    // large positive count.
    if (m_countdown > std::numeric_limits<qint16>::min())
        --m_countdown;
    if (m_countdown >= 1)
        return TickResult::KeepCounting;
    if (!Options.TimeoutOn)
        return TickResult::Stop;
    m_locked = true;
    return TickResult::LockNow;
}
