// The password draw: pool and order, the case rule and lengths.
#include "crypto/PasswordGenerator.h"
#include "errortrap/Bulwark.h"

#include <QSet>
#include <QTest>
#include <stdexcept>
#include <vector>

namespace {
const QString kDigits = QStringLiteral("0123456789");
const QString kUpper = QStringLiteral("ABCDEFGHJKMNPQRSTUVWXYZ");
const QString kLower = QStringLiteral("abcdefghjkmnpqrstuvwxyz");

// Hands out the given fractions in order; running dry fails the test.
class ScriptedSource : public UniformSource
{
public:
    std::vector<double> fractions;
    std::size_t used = 0;
    double nextFraction() override
    {
        if (used >= fractions.size())
            throw std::runtime_error("scripted fractions used up");
        return fractions[used++];
    }
};
} // namespace

Q_DECLARE_METATYPE(PasswordType)
Q_DECLARE_METATYPE(LetterCase)

class TestPasswordGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void poolInCodeOrder_data()
    {
        QTest::addColumn<PasswordType>("type");
        QTest::addColumn<LetterCase>("letterCase");
        QTest::addColumn<QString>("expected");
        using T = PasswordType;
        using C = LetterCase;
        QTest::newRow("alpha+numeric") << T::AlphaNumeric << C::Mixed << kDigits + kUpper + kLower;
        QTest::newRow("numeric") << T::Numeric << C::Mixed << kDigits;
        // The case is applied after drawing, so each letter comes out twice per pass.
        QTest::newRow("alpha+numeric upper") << T::AlphaNumeric << C::Upper << kDigits + kUpper + kUpper;
        QTest::newRow("alpha lower") << T::Alpha << C::Lower << kLower + kLower;
    }
    // One pass over the 75 codes, one fraction per code, yields exactly the pool in code order.
    void poolInCodeOrder()
    {
        QFETCH(PasswordType, type);
        QFETCH(LetterCase, letterCase);
        QFETCH(QString, expected);
        ScriptedSource sweep;
        for (int k = 0; k < 75; ++k)
            sweep.fractions.push_back((k + 0.5) / 75.0);
        QCOMPARE(drawPassword(expected.size(), type, letterCase, sweep), expected);
        QCOMPARE(sweep.used, type == PasswordType::Numeric ? 10u : 75u);
    }

    // With the program's own source, for every type and case: exactly N characters for N = 4..16, only
    // characters of the pool, and every one of them turns up.
    void randomDrawsKeepLengthAndPool()
    {
        const QString lettersByCase[] = {kUpper + kLower, kUpper, kLower};
        SystemUniformSource source;
        for (int t = 0; t < 3; ++t) {
            for (int c = 0; c < 3; ++c) {
                const QString allowed = t == 2 ? kDigits : t == 1 ? lettersByCase[c] : kDigits + lettersByCase[c];
                QSet<QChar> seen;
                for (int length = 4; length <= 16; ++length) {
                    for (int draw = 0; draw < 12; ++draw) {
                        const QString password =
                            drawPassword(length, static_cast<PasswordType>(t), static_cast<LetterCase>(c), source);
                        QCOMPARE(password.size(), length);
                        for (QChar ch : password) {
                            QVERIFY2(allowed.contains(ch), qPrintable(password));
                            seen.insert(ch);
                        }
                    }
                }
                QCOMPARE(seen.size(), static_cast<int>(allowed.size()));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestPasswordGenerator)
#include "test_PasswordGenerator.moc"
