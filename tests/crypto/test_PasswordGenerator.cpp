// The password draw: pool and order, rejection, the case rule, lengths, and the program's random source.
#include "crypto/PasswordGenerator.h"
#include "errortrap/Bulwark.h"

#include <QSet>
#include <QTest>
#include <cmath>
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

// The fraction in the middle of the slice that yields each character of `chars`.
ScriptedSource yielding(const QString& chars)
{
    ScriptedSource source;
    for (QChar c : chars)
        source.fractions.push_back((c.unicode() - 48 + 0.5) / 75.0);
    return source;
}
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

    void refusedCodesDrawAgain_data()
    {
        QTest::addColumn<PasswordType>("type");
        QTest::addColumn<QString>("script");
        QTest::newRow("numeric refuses letters") << PasswordType::Numeric << "Azb7";
        QTest::newRow("alpha refuses digits") << PasswordType::Alpha << "0159X";
        QTest::newRow("look-alikes") << PasswordType::Alpha << "IiLlOoY";
        QTest::newRow("punctuation") << PasswordType::AlphaNumeric << ":;<=>?@[\\]^_`1";
    }
    // Each refused character costs one fraction; the last character of the script is the one kept.
    void refusedCodesDrawAgain()
    {
        QFETCH(PasswordType, type);
        QFETCH(QString, script);
        ScriptedSource source = yielding(script);
        QCOMPARE(drawPassword(1, type, LetterCase::Mixed, source), script.right(1));
        QCOMPARE(source.used, static_cast<std::size_t>(script.size()));
    }

    void fractionRange()
    {
        ScriptedSource ends;
        ends.fractions = {0.0, std::nextafter(1.0, 0.0), 10.0 / 75.0 - 1e-12};
        QCOMPARE(drawPassword(3, PasswordType::AlphaNumeric, LetterCase::Mixed, ends), QStringLiteral("0z9"));
        for (double bad : {1.0, -0.25, std::nan("")}) {
            ScriptedSource source;
            source.fractions = {bad};
            QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                     drawPassword(1, PasswordType::AlphaNumeric, LetterCase::Mixed, source));
        }
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

    // Fractions lie in [0, 1) and carry more than 32 bits, and the same time-of-day seed does not repeat
    // a stream: the OS bytes carry the randomness.
    void systemSource()
    {
        SystemUniformSource first;
        SystemUniformSource second;
        first.reseed(12345);
        second.reseed(12345);
        int repeats = 0;
        bool fineBits = false;
        for (int i = 0; i < 1000; ++i) {
            const double r = first.nextFraction();
            QVERIFY(r >= 0.0 && r < 1.0);
            repeats += r == second.nextFraction() ? 1 : 0;
            fineBits = fineBits || std::ldexp(r, 32) != std::floor(std::ldexp(r, 32));
        }
        QVERIFY(fineBits);
        QCOMPARE(repeats, 0);
    }
};

QTEST_GUILESS_MAIN(TestPasswordGenerator)
#include "test_PasswordGenerator.moc"
