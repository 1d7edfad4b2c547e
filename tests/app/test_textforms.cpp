// The text forms of stored settings: what each reader takes, what it refuses, and that a value written
// under one locale reads back the same under another.
#include "app/TextForms.h"
#include "errortrap/Bulwark.h"

#include <QLocale>
#include <QRegularExpression>
#include <QtTest>
#include <clocale>

namespace {

// The number of the run-time error a reader raised, 0 when none.
template <class Reader> int errorOf(Reader reader)
{
    try {
        reader();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestTextForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void booleanForms()
    {
        QCOMPARE(TextForms::fromBoolean(true), QStringLiteral("True"));
        QCOMPARE(TextForms::fromBoolean(false), QStringLiteral("False"));
        for (const char* text : {"True", "true", "TRUE", " True ", "-1", "1", "2.5"})
            QVERIFY2(TextForms::toBoolean(QString::fromLatin1(text)), text);
        for (const char* text : {"False", "fAlSe", "0", "0.0"})
            QVERIFY2(!TextForms::toBoolean(QString::fromLatin1(text)), text);
    }

    void unreadableTextIsTypeMismatch()
    {
        for (const char* raw : {"abc", "", "yes", "1x", "--1", "1 2"}) {
            const QString text = QString::fromLatin1(raw);
            try {
                TextForms::toBoolean(text);
                QFAIL(raw);
            } catch (const RuntimeError& e) {
                QCOMPARE(e.number(), 13);
                QCOMPARE(e.description(), QStringLiteral("Type mismatch"));
            }
            QCOMPARE(errorOf([&] { TextForms::toInteger(text); }), 13);
            QCOMPARE(errorOf([&] { TextForms::toSingle(text); }), 13);
        }
    }

    void integerRange()
    {
        QCOMPARE(TextForms::toInteger(QStringLiteral("32767")), qint16(32767));
        QCOMPARE(TextForms::toInteger(QStringLiteral("-32768")), qint16(-32768));
        // Fractions round to the nearest integer, halves to the even one.
        QCOMPARE(TextForms::toInteger(QStringLiteral("2.5")), qint16(2));
        QCOMPARE(TextForms::toInteger(QStringLiteral("3.5")), qint16(4));
        for (const char* text : {"32768", "-32769", "32767.5", "1e10"})
            QCOMPARE(errorOf([&] { TextForms::toInteger(QString::fromLatin1(text)); }), 6);
        QCOMPARE(TextForms::fromInteger(-32768), QStringLiteral("-32768"));
    }

    void singleRoundTripUnderGermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        bool germanC = false;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE@euro", "de_DE"})
            germanC = germanC || std::setlocale(LC_NUMERIC, name) != nullptr;
        if (!germanC)
            qInfo("no German C locale installed: only Qt's default locale is German");

        for (const float value : {1000.0F, 4439.9F, -1.5F, 0.1F, 123456.7F, 12345678.F, 3.4028235e+38F, 1e-30F}) {
            const QString written = TextForms::fromSingle(value);
            QVERIFY2(!written.contains(QLatin1Char(',')), qPrintable(written));
            const float read = TextForms::toSingle(written);
            QCOMPARE(read, value);
            QCOMPARE(TextForms::fromSingle(read), written);
            const QString mantissa = written.section(QLatin1Char('e'), 0, 0).remove(QRegularExpression("^-?0?\\.?"));
            QVERIFY2(mantissa.count(QRegularExpression("\\d")) <= 7, qPrintable(written));
        }
        QCOMPARE(TextForms::toSingle(QStringLiteral("1000,5")), 1000.5F); // as a comma locale writes it
        QCOMPARE(errorOf([] { TextForms::toSingle(QStringLiteral("1,000.5")); }), 13);
        QCOMPARE(errorOf([] { TextForms::toSingle(QStringLiteral("1e39")); }), 6);
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(QLocale::c());
    }

    void leadingNumbers()
    {
        QCOMPARE(TextForms::leadingNumber(QStringLiteral("12abc")), 12.0);
        QCOMPARE(TextForms::leadingNumber(QStringLiteral("abc")), 0.0);
        QCOMPARE(TextForms::leadingNumber(QStringLiteral(" 1 0\t4\n4")), 1044.0);
        QCOMPARE(TextForms::leadingNumber(QStringLiteral("-5 apples")), -5.0);
        QCOMPARE(TextForms::leadingNumber(QStringLiteral("7e")), 7.0);
        double n = 0.0;
        QVERIFY(!TextForms::parseNumber(QStringLiteral("\u0661\u0662"), &n)); // digits of another script
    }
};

QTEST_GUILESS_MAIN(TestTextForms)
#include "test_textforms.moc"
