#pragma once
// The security time-out of the records window: the one-minute timer Timer2, the countdown of minutes
// without record activity, and Locked. This is the one place that knows whether the window is locked;
// the window hides or shows its records when lockedChanged() says so.
//
//   restart()  a fresh minute from now, the count back at its start, the lock lifted (InitTimer)
//   tick()     Timer2 fired: one minute less. When the count runs out the timer stops, and the window
//              locks if the time-out is on at that moment (Options.TimeoutOn); with it off nothing locks.
//   stop()     the timer stops and the count with it, nothing locked (the options closed with the
//              time-out off)
//   lock()     locks now, as a count that runs out with the time-out on does, whatever the time-out
//              option says (the desktop session was locked, left or suspended)
//   unlock()   the lock lifted without counting again
#include <QObject>
#include <QTimer>

class SecurityLock : public QObject
{
    Q_OBJECT

public:
    explicit SecurityLock(QObject* parent = nullptr);

    bool isLocked() const { return m_locked; }

    // Minutes the count starts from at the next restart(): the TimeoutTime option as it was at load or
    // when the options dialog last closed with the time-out on.
    qint16 countdownStart() const { return m_start; }
    void setCountdownStart(qint16 minutes) { m_start = minutes; }
    // Minutes left.
    qint16 countdownLeft() const { return m_left; }

    // Runs while the count does; the window runs Timer2_Timer, and with it tick(), when it fires.
    const QTimer& Timer2() const { return m_timer; }

    void restart();
    void tick();
    void stop();
    void lock();
    void unlock();

Q_SIGNALS:
    void lockedChanged(bool locked);

private:
    void setLocked(bool locked);

    QTimer m_timer;
    qint16 m_start = 0;
    qint16 m_left = 0;
    bool m_locked = false;
};
