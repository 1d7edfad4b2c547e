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
    void entryTextIndentsByDepth()
    {
        TraceStack stack;
        stack.push(QLatin1String("Lockwell.bas"), QLatin1String("Sub Main"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub Form_Load"), kNoArgs);
        stack.push(QLatin1String("basBlowfish.bas"), QLatin1String("Function blf_F"), kNoArgs);
        QCOMPARE(stack.entries(), QStringList({QStringLiteral("1 : Lockwell.bas : Sub Main : "),
                                               QStringLiteral("2 : \tfrmLogin.frm : Sub Form_Load : "),
                                               QStringLiteral("3 : \t\tbasBlowfish.bas : Function blf_F : ")}));
    }

    void balancedPopsUnwind()
    {
        TraceStack stack;
        stack.push(kModule, QLatin1String("Sub cmdOK_Click"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub cmdOK"), kNoArgs);
        // A title that is only the start of the top entry's title does not match it.
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK_")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.depth(), 2);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK")), TraceStack::Pop::Balanced);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub cmdOK_Click")), TraceStack::Pop::Balanced);
        QCOMPARE(stack.depth(), 0);
        QVERIFY(stack.entry(1).isEmpty());
    }

    // A missed pop is repaired when the caller leaves; a pop nobody pushed changes nothing.
    void unbalancedPops()
    {
        TraceStack stack;
        stack.push(kModule, QLatin1String("Sub A"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub B"), kNoArgs);
        stack.push(kModule, QLatin1String("Sub C"), kNoArgs);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub Z")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.depth(), 3);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub B")), TraceStack::Pop::Repaired);
        QCOMPARE(stack.depth(), 1);
        QVERIFY(stack.entry(2).isEmpty());
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub A")), TraceStack::Pop::Balanced);
        QCOMPARE(stack.pop(kModule, QLatin1String("Sub A")), TraceStack::Pop::Unbalanced);
        QCOMPARE(stack.depth(), 0);
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
