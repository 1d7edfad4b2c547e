// lockwell-cli import and export as a script uses them: a dry run that writes nothing, an import with its
// summary, the same file again found to be duplicates, the export on standard output and into a file of
// its owner's only, and hostile CSV refused before any password is asked, the data file left as it was.
#include "CliRun.h"
#include "DataFileFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kChromium = qEnvironmentVariable("LW_TEST_DATA") + QStringLiteral("/import/chromium.csv");
const QByteArray kHeader = "\"Account\",\"URL\",\"IDtext\",\"Password\",\"HINT\",\"Key1_Name\",\"Key1\",\"Key2_Name\","
                           "\"Key2\",\"Key3_Name\",\"Key3\",\"Key4_Name\",\"Key4\",\"Info\"\r\n";
} // namespace

class TestLockwellCliImport : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_vault;

private Q_SLOTS:
    void initTestCase()
    {
        QDir(m_dir.path()).mkdir("vault");
        m_vault = m_dir.filePath("vault/vault.lwd");
        QCOMPARE(cli({"create", m_vault}).status, 0);
    }

    void importThenExport()
    {
        const Run dry = cli({"import", "--dry-run", m_vault, kChromium});
        QCOMPARE(dry.status, 0);
        QVERIFY(dry.bytes.startsWith("Chromium browser CSV: 4 to import\nSkipped as duplicates: 0\n"
                                     "Skipped as not a login: 0\nChanged to fit: 3\n"));
        QCOMPARE(cli({"export", m_vault}).bytes, kHeader);

        const Run run = cli({"import", m_vault, kChromium});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.bytes.startsWith("Chromium browser CSV: 4 imported\n"), run.bytes.constData());
        QVERIFY(run.bytes.contains("  line 5, \"toolong.example\": the password was cut from 60 to 50 characters"));
        const Run again = cli({"import", "--format", "chromium", m_vault, kChromium});
        QVERIFY(again.bytes.startsWith("Chromium browser CSV: 0 imported\nSkipped as duplicates: 4\n"));

        const Run out = cli({"export", m_vault});
        QCOMPARE(out.status, 0);
        QVERIFY(out.bytes.startsWith(kHeader));
        QCOMPARE(out.bytes.count("\r\n"), 6); // the header, four records, the line break inside one note
        QVERIFY(out.bytes.contains("\"dave\",\"pa,ss\"\"word\""));

        const QString file = m_dir.filePath("out.csv");
        const Run toFile = cli({"export", "-o", file, m_vault});
        QCOMPARE(toFile.status, 0);
        QVERIFY(toFile.bytes.contains("The file is not encrypted"));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), out.bytes);
        QCOMPARE(written.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }

    void refusedInput_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const QByteArray header = "name,url,username,password,note\n";
        QTest::newRow("unterminated quote") << header + "a,\"b,c,d,e\n"
                                            << QStringList() << 1 << "line 2: a quoted field is not closed";
        QTest::newRow("NUL byte") << header + QByteArray("a\0", 2) << QStringList() << 1
                                  << "line 2: a NUL byte: this is not a text file";
        QTest::newRow("10 MB field") << header + "a," + QByteArray(10 << 20, 'u') + ",i,p,n\n"
                                     << QStringList() << 1 << "line 2: a field longer than 1 MB";
        QTest::newRow("100,000 columns") << header + QByteArray(100000, ',') << QStringList() << 1
                                         << "line 2: more than 1000 columns";
        QTest::newRow("unknown format") << header << QStringList{"--format", "lastpass"} << 2
                                        << "import: --format takes lockwell, keepassxc, bitwarden, chromium, firefox";
    }
    void refusedInput()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, error);
        const QString input = m_dir.filePath("hostile.csv");
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(csv);
        file.close();
        const fixtures::FolderSnapshot before(m_dir.filePath("vault"));
        const Run run = cli(QStringList{"import"} + options + QStringList{m_vault, input}, QByteArray());
        QCOMPARE(run.status, status);
        const QString prefix = status == 1 ? "lockwell-cli: " + input + ": " : QString("lockwell-cli: ");
        QVERIFY2(run.err.startsWith(prefix + error + "\n"), qPrintable(run.err));
        QVERIFY(fixtures::FolderSnapshot(m_dir.filePath("vault")) == before);
    }
};

QTEST_GUILESS_MAIN(TestLockwellCliImport)
#include "test_lockwell_cli_import.moc"
