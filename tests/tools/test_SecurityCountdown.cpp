// The security time-out count: when it locks, when it only stops, and how a restart resets it.
#include "app/ProgramSettings.h"
#include "tools/SecurityCountdown.h"

#include <QtTest>
#include <limits>

using Tick = SecurityCountdown::TickResult;

namespace {
// The results of n ticks.
QList<Tick> ticks(SecurityCountdown& count, int n)
{
    QList<Tick> results;
    while (n-- > 0)
        results.append(count.tick());
    return results;
}
const QList<Tick> kFourQuiet(4, Tick::KeepCounting);
} // namespace

class TestSecurityCountdown : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Options.TimeoutOn = true; }

    void locksOnTheFifthTickAndARestartCountsFiveAgain()
    {
        SecurityCountdown count(5);
        count.restart();
        QCOMPARE(ticks(count, 5), kFourQuiet + QList<Tick>{Tick::LockNow});
        QVERIFY(count.locked());

        count.restart(); // unlocked
        QVERIFY(!count.locked());
        ticks(count, 3);
        count.restart(); // a record field changed in the fourth minute
        QCOMPARE(count.countdown(), qint16(5));
        QCOMPARE(ticks(count, 5), kFourQuiet + QList<Tick>{Tick::LockNow});
    }

    // Whether a run-out count locks is decided when it runs out.
    void withTheTimeOutOffTheCountOnlyStops()
    {
        Options.TimeoutOn = false;
        SecurityCountdown count(5);
        count.restart();
        QCOMPARE(ticks(count, 5), kFourQuiet + QList<Tick>{Tick::Stop});
        QVERIFY(!count.locked());
        count.restart();
        ticks(count, 4);
        Options.TimeoutOn = true;
        QCOMPARE(count.tick(), Tick::LockNow);
    }

    void startsTakeEffectAtTheNextRestart()
    {
        SecurityCountdown count(5);
        count.setStart(1);
        QCOMPARE(count.countdown(), qint16(5));
        count.restart();
        QCOMPARE(count.tick(), Tick::LockNow); // a start of 1 locks after the first minute

        count.setStart(std::numeric_limits<qint16>::min());
        count.restart();
        ticks(count, 2); // a run-out count never wraps round to a large one
        QCOMPARE(count.countdown(), std::numeric_limits<qint16>::min());
    }
};

QTEST_GUILESS_MAIN(TestSecurityCountdown)
#include "test_SecurityCountdown.moc"
