#pragma once
// The count behind the security time-out: minutes left before the records window locks itself, and
// whether it is locked. The records window owns the one-minute timer and calls tick() each time it
// fires; this class only counts and decides.
//
//   restart()  the count starts again from the countdown start and the lock is lifted
//   tick()     one minute has passed: KeepCounting, or, when the count has run out, Stop (time-out
//              switched off: the timer stops, nothing is locked) or LockNow (the window is now locked;
//              the timer stops too)
//
// Whether a run-out count locks is decided at that moment by the program-wide TimeoutOn option.
#include <QtGlobal>

class SecurityCountdown
{
public:
    enum class TickResult { KeepCounting, Stop, LockNow };

    explicit SecurityCountdown(qint16 start = 5);

    // Minutes the count starts from at the next restart().
    void setStart(qint16 minutes);
    qint16 start() const { return m_start; }

    // Minutes left.
    qint16 countdown() const { return m_countdown; }

    // True from a LockNow until the next restart() or clearLocked().
    bool locked() const { return m_locked; }

    void restart();
    void clearLocked();
    TickResult tick();

private:
    qint16 m_start;
    qint16 m_countdown;
    bool m_locked = false;
};
