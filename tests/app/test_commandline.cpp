// Command-line splitting: tabs alone separate arguments, and the data file named by them.
#include "app/CommandLine.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitting_data()
    {
        QTest::addColumn<QString>("commandText");
        QTest::addColumn<int>("maxArgs");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("dataFile");
        QTest::newRow("nothing") << "" << 10 << QStringList({""}) << "";
        QTest::newRow("path with blanks") << "/home/bob/My Vault.lwd" << 10
                                          << QStringList({"", "/home/bob/My Vault.lwd"}) << "/home/bob/My Vault.lwd";
        QTest::newRow("quoted path with blanks")
            << "\"/home/bob/My Vault.lwd\"" << 10 << QStringList({"", "\"/home/bob/My Vault.lwd\""})
            << "/home/bob/My Vault.lwd";
        QTest::newRow("two tab-separated parts joined")
            << "/home/bob/My\tVault.lwd" << 10 << QStringList({"", "/home/bob/My", "Vault.lwd"})
            << "/home/bob/MyVault.lwd";
        QTest::newRow("runs of tabs") << "\t\ta\t\t\tb\t" << 10 << QStringList({"", "a", "b"}) << "ab";
        QTest::newRow("only quotes") << "\"\"\t\"" << 10 << QStringList({"", "\"\"", "\""}) << "";
        QTest::newRow("inner quote becomes a blank") << "a\"b" << 10 << QStringList({"", "a\"b"}) << "a b";
        QTest::newRow("blanks only") << "   " << 10 << QStringList({"", "   "}) << "";
        QTest::newRow("more than MaxArgs")
            << "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12" << 10
            << QStringList({"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}) << "12345678910";
        QTest::newRow("MaxArgs 2") << "a\tb\tc" << 2 << QStringList({"", "a", "b"}) << "ab";
        QTest::newRow("MaxArgs 0") << "a" << 0 << QStringList({""}) << "";
    }
    void splitting()
    {
        QFETCH(QString, commandText);
        QFETCH(int, maxArgs);
        QFETCH(QStringList, expected);
        QFETCH(QString, dataFile);
        const QStringList args = GetCommandLine(commandText, maxArgs);
        QCOMPARE(args, expected);
        QCOMPARE(dataFileFromCommandLine(args), dataFile);
    }

    void defaultKeepsTenArguments()
    {
        QStringList parts;
        for (int i = 1; i <= 15; ++i)
            parts << QString::number(i);
        QCOMPARE(GetCommandLine(parts.join(QLatin1Char('\t'))).size(), 11);
    }

    void argumentsJoinedByBlanks()
    {
        // A path the shell split at its blank comes back whole, as one argument.
        const QString text = commandTextFromArguments({"/home/bob/My", "Vault.lwd"});
        QCOMPARE(text, QStringLiteral("/home/bob/My Vault.lwd"));
        QCOMPARE(dataFileFromCommandLine(GetCommandLine(text)), QStringLiteral("/home/bob/My Vault.lwd"));
        QCOMPARE(commandTextFromArguments({}), QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
