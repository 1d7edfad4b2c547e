// The text forms of stored settings: a value written under one locale reads back the same under another.
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
};

QTEST_GUILESS_MAIN(TestTextForms)
#include "test_textforms.moc"
