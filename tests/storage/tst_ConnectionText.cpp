// The connection text: the fixed text the main window connects with, and round trips of values that
// need quoting.
#include "storage/ConnectionText.h"
#include "storage/EngineError.h"

#include <QTest>

class TestConnectionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFileTextHasEveryPropertyInItsOrder()
    {
        const QString text =
            ConnectionText::forDataFile(QStringLiteral("/home/bob/Passwords.lwd"), QStringLiteral("pw1234K7352"))
                .toString();
        QCOMPARE(text,
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/bob/Passwords.lwd;"
                                "Mode=ReadWrite|Share Deny None;Extended Properties=\"\";"
                                "Jet OLEDB:System database=;Jet OLEDB:Registry Path=;"
                                "Jet OLEDB:Database Password=pw1234K7352;Jet OLEDB:Engine Type=5;"
                                "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
                                "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=;"
                                "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
                                "Jet OLEDB:Don't Copy Locale on Compact=False;"
                                "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False"));
        const ConnectionText parsed = ConnectionText::parse(text);
        QVERIFY(!parsed.isReadOnly() && !parsed.isExclusive());
        QCOMPARE(parsed.toString(), text);
    }

    void compactionTextsNameSourceAndTarget()
    {
        QCOMPARE(ConnectionText::forCompactSource(QStringLiteral("/a.lwd"), QStringLiteral("s")).toString(),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Locking Mode=0;User ID=Admin;"
                                "Jet OLEDB:Database Password=s;Data Source=/a.lwd"));
        QCOMPARE(ConnectionText::forCompactTarget(QStringLiteral("/b.lwd"), QStringLiteral("t")).toString(),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/b.lwd;Jet OLEDB:Engine Type=5;"
                                "Jet OLEDB:Encrypt Database=True;Jet OLEDB:Database Password=t"));
    }

    void anyPathAndPasswordSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("password");
        QTest::newRow("semicolons and quotes")
            << QStringLiteral("/tmp/\"it's\";b.lwd") << QStringLiteral("\"'\";w=x;''K7352");
        QTest::newRow("blanks at the ends") << QStringLiteral(" /tmp/x .lwd ") << QStringLiteral("  pw  K7352 ");
        QTest::newRow("non-ASCII") << QStringLiteral("/tmp/Z\u00fcrich \u00f1.lwd")
                                   << QStringLiteral("\u00e9t\u00e9K7352");
        QTest::newRow("empty password") << QStringLiteral("/tmp/a.lwd") << QString();
    }

    void anyPathAndPasswordSurviveTheRoundTrip()
    {
        QFETCH(QString, path);
        QFETCH(QString, password);
        const ConnectionText parsed = ConnectionText::parse(ConnectionText::forDataFile(path, password).toString());
        QCOMPARE(parsed.dataSource(), path);
        QCOMPARE(parsed.password(), password);
    }

    void looseSpellingIsUnderstoodAndMalformedTextRefused()
    {
        const ConnectionText text = ConnectionText::parse(
            QStringLiteral(" data source = /x.lwd ; MODE=Read ;;jet oledb:database password='a;b' ; "));
        QCOMPARE(text.dataSource(), QStringLiteral("/x.lwd"));
        QCOMPARE(text.password(), QStringLiteral("a;b"));
        QVERIFY(text.isReadOnly());
        const ConnectionText exclusive = ConnectionText::parse(QStringLiteral("Mode=Share Exclusive|ReadWrite"));
        QVERIFY(exclusive.isExclusive() && !exclusive.isReadOnly());
        for (const char* malformed :
             {"Provider=x;Data Source", "Data Source=\"/x.lwd", "Data Source=\"/x\" y;Mode=Read"}) {
            try {
                ConnectionText::parse(QString::fromUtf8(malformed));
                QFAIL(malformed);
            } catch (const RuntimeError& e) {
                QCOMPARE(e.number(), EngineErr::BadArguments);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestConnectionText)
#include "tst_ConnectionText.moc"
