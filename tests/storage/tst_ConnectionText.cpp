// The connection text: the fixed text the main window connects with, which carries the password beside it
// and never in it.
#include "storage/ConnectionText.h"

#include <QTest>

class TestConnectionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFileTextHasEveryPropertyInItsOrderAndNoPassword()
    {
        const ConnectionText connection =
            ConnectionText::forDataFile(QStringLiteral("/home/bob/Pass;words.lwd"), SecretText(u"pw1234K7352"));
        QCOMPARE(
            connection.toString(),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=\"/home/bob/Pass;words.lwd\";"
                           "Mode=ReadWrite|Share Deny None;Extended Properties=\"\";"
                           "Jet OLEDB:System database=;Jet OLEDB:Registry Path=;"
                           "Jet OLEDB:Database Password=;Jet OLEDB:Engine Type=5;"
                           "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
                           "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=;"
                           "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
                           "Jet OLEDB:Don't Copy Locale on Compact=False;"
                           "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False"));
        QCOMPARE(connection.dataSource(), QStringLiteral("/home/bob/Pass;words.lwd"));
        QCOMPARE(connection.password().view(), QStringView(u"pw1234K7352"));
        QVERIFY(!connection.isReadOnly() && !connection.isExclusive());

        // Another password is another connection, though the text is the same.
        const ConnectionText other =
            ConnectionText::forDataFile(QStringLiteral("/home/bob/Pass;words.lwd"), SecretText(u"other K7352"));
        QCOMPARE(other.toString(), connection.toString());
        QVERIFY(other != connection);
    }

    void compactionTextsNameSourceAndTarget()
    {
        QCOMPARE(ConnectionText::forCompactSource(QStringLiteral("/a.lwd"), SecretText(u"s")).toString(),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Locking Mode=0;User ID=Admin;"
                                "Jet OLEDB:Database Password=;Data Source=/a.lwd"));
        QCOMPARE(ConnectionText::forCompactTarget(QStringLiteral("/b.lwd"), SecretText(u"t")).toString(),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/b.lwd;Jet OLEDB:Engine Type=5;"
                                "Jet OLEDB:Encrypt Database=True;Jet OLEDB:Database Password="));
    }
};

QTEST_GUILESS_MAIN(TestConnectionText)
#include "tst_ConnectionText.moc"
