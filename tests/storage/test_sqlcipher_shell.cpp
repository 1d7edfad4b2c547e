// A data file written by Lockwell opens in the sqlcipher shell with the commands of docs/FORMAT.md,
// and its records read back as they were written.
#include "DataFileFixtures.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The "sqlite>" lines of the shell section of docs/FORMAT.md.
QStringList documentedShellCommands()
{
    QFile doc(QStringLiteral(LW_SOURCE_DIR "/docs/FORMAT.md"));
    if (!doc.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(doc.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("## Opening a data file with the sqlcipher shell"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    QStringList commands;
    const QStringList lines = text.mid(start, end - start).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("sqlite> ")))
            commands << line.mid(8);
    }
    return commands;
}
} // namespace

class TestSqlcipherShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shellReadsWhatLockwellWrote()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Bob's \u00e9t\u00e9 file.lwd"));
        const QString password = QStringLiteral("it's m\u00fcK7352");
        fixtures::makeDataFile(path, password);
        {
            auto db = std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(password)));
            Recordset records(db);
            const QList<QStringList> rows = {{"Bank", "https://bank.example", "bob", "s3cr\u00eat"},
                                             {"Mail", "", "bob@example.org", "a'b\"c"}};
            for (const QStringList& row : rows) {
                records.addNew();
                for (int column = 0; column < row.size(); ++column)
                    records.setValue(column, row.at(column));
                records.update();
            }
        }

        QStringList commands = documentedShellCommands();
        QCOMPARE(commands.size(), 4);
        QString quoted = password;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        commands[0].replace(QRegularExpression(QStringLiteral("'.*'")), QLatin1Char('\'') + quoted + QLatin1Char('\''));

        QProcess shell;
        shell.start(QStringLiteral("sqlcipher"), {path});
        QVERIFY(shell.waitForStarted());
        shell.write(commands.join(QLatin1Char('\n')).toUtf8() + "\n.quit\n");
        shell.closeWriteChannel();
        QVERIFY(shell.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardError()), QString());
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()),
                 QStringLiteral("Bank|https://bank.example|bob|s3cr\u00eat\nMail||bob@example.org|a'b\"c\n"));
    }
};

QTEST_GUILESS_MAIN(TestSqlcipherShell)
#include "test_sqlcipher_shell.moc"
