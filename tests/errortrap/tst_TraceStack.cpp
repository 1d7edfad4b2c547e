#include "errortrap/TraceStack.h"

#include <QtTest>

namespace {
constexpr QLatin1String kModule("frmLogin.frm");
constexpr QLatin1String kNoArgs("");
} // namespace

class TestTraceStack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A title that only starts the top entry's title does not match it; a missed pop is repaired when the
    // caller leaves; a pop nobody pushed changes nothing.
    void popsBalancedRepairedAndUnbalanced()
    {
        TraceStack stack;
        stack.push(kModule, QLatin1String("Sub A"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub cmdOK_Click"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub cmdOK"), kNoArgs);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK_")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub Z")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.depth(), 3);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK")), TraceStack::Pop::Balanced);
        stack.push(kModule, QLatin1String("Sub C"), kNoArgs);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK_Click")), TraceStack::Pop::Repaired);
        QCOMPARE(stack.depth(), 1);
        QVERIFY(stack.entry(2).isEmpty());
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub A")), TraceStack::Pop::Balanced);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub A")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.depth(), 0);
        QVERIFY(stack.entry(1).isEmpty());
    }

    // Past 1000 levels pushes are counted, not kept, so a deep recursion still unwinds to 0.
    void thousandLevels()
    {
        TraceStack stack;
        const QLatin1String proc("Function Recurse");
        for (int i = 0; i < TraceStack::kMaxLevels + 5; ++i) {
            const auto pushed = stack.push(kModule, proc, kNoArgs);
            QCOMPARE(pushed, i < TraceStack::kMaxLevels ? TraceStack::Push::Entered : TraceStack::Push::TooDeep);
        }
        QCOMPARE(stack.depth(), TraceStack::kMaxLevels);
        QVERIFY(stack.entry(1000).startsWith(QStringLiteral("1000 : ") + QString(999, QLatin1Char('\t'))));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(stack.pop(kModule, proc), TraceStack::Pop::Overflow);
        for (int i = 0; i < TraceStack::kMaxLevels; ++i)
            QCOMPARE(stack.pop(kModule, proc), TraceStack::Pop::Balanced);
        QCOMPARE(stack.depth(), 0);
    }
};

QTEST_APPLESS_MAIN(TestTraceStack)
#include "tst_TraceStack.moc"
