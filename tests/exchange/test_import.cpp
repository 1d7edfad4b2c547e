// Import and export on the engine: CSV as other programs write it, every hostile input refused with its
// own message, the exports of Bitwarden, Chromium and Firefox with their awkward rows, a real KeePassXC
// export, the round trip through Lockwell CSV to the same bytes, and an import that fails half-way
// leaving the data file as it was.
#include "DataFileFixtures.h"
#include "FailingDisk.h"
#include "errortrap/Bulwark.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvWriter.h"
#include "exchange/ImportPlan.h"
#include "storage/AccountTable.h"
#include "storage/SqlCipherDatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>

namespace {
const QString kPassword = QStringLiteral("import pwK7352");

// A record's fields joined by "|", trailing empty ones left off (as fixtures::readAccounts gives them).
QString joined(const AccountRow& row)
{
    QStringList fields;
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
        fields << row.field(column).toString();
    while (!fields.isEmpty() && fields.back().isEmpty())
        fields.removeLast();
    return fields.join(QLatin1Char('|'));
}

QStringList joined(const std::vector<AccountRow>& rows)
{
    QStringList all;
    for (const AccountRow& row : rows)
        all << joined(row);
    return all;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

std::unique_ptr<SqlCipherDatabase> openVault(const QString& path)
{
    return SqlCipherDatabase::open(path, SecretText(kPassword));
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void csvText_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("rows"); // rows split by "¶", fields by "|"
        QTest::newRow("plain, LF") << QByteArray("a,b\nc,d\n") << "a|b¶c|d";
        QTest::newRow("quoted comma and doubled quotes, CR LF")
            << QByteArray("\"a,1\",\"say \"\"hi\"\"\"\r\nx,y\r\n") << "a,1|say \"hi\"¶x|y";
        QTest::newRow("line break inside quotes kept as written") << QByteArray("\"x\r\ny\",z\r\n") << "x\r\ny|z";
        QTest::newRow("byte order mark, empty fields, no last line end") << QByteArray("\xEF\xBB\xBF"
                                                                                       "a,,\n,b")
                                                                         << "a||¶|b";
        QTest::newRow("blank lines between rows") << QByteArray("a\n\n\r\nb\n") << "a¶b";
    }
    void csvText()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, rows);
        const Csv::Table table = Csv::parse(csv);
        QVERIFY2(table.ok(), qPrintable(table.error));
        QStringList got;
        for (const QStringList& row : table.rows)
            got << row.join(QLatin1Char('|'));
        QCOMPARE(got.join(QStringLiteral("¶")), rows);
    }

    // Each input is refused with one line saying what and where; nothing of it is planned.
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("error");
        const QByteArray header = "name,url,username,password,note\n";
        QTest::newRow("unterminated quote, counted past a quoted line break") << header + "a,\"b\nc\",d,e,f\n\"open,x\n"
                                                                              << "line 4: a quoted field is not closed";
        QTest::newRow("NUL byte") << header + QByteArray("a,b,c,d,e\nx\0y", 12)
                                  << "line 3: a NUL byte: this is not a text file";
        QTest::newRow("not UTF-8") << header + "caf\xE9,u,i,p,n\n"
                                   << "the file is not UTF-8 text";
        QTest::newRow("10 MB field") << header + "\"" + QByteArray(10 << 20, 'x') + "\",u,i,p,n\n"
                                     << "line 2: a field longer than 1 MB";
        QTest::newRow("100,000 columns") << QByteArray(100000, ',') + "\n"
                                         << "line 1: more than 1000 columns";
        QTest::newRow("empty") << QByteArray() << "the file is empty";
        QTest::newRow("unknown header") << QByteArray("site,login\n")
                                        << "line 1 is not the header of an export Lockwell knows "
                                           "(lockwell, keepassxc, bitwarden, chromium, firefox)";
    }
    void hostileInput()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, error);
        const ImportPlan plan = planImport(csv, std::nullopt, {}, false);
        QCOMPARE(plan.error, error);
        QVERIFY(plan.records.empty());
    }

    void peerExports_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QList<int>>("counts"); // duplicates, not logins, changed
        QTest::newRow("Bitwarden") << "bitwarden.csv" << int(ImportFormat::Bitwarden)
                                   << QStringList{"Git Forge|https://git.example.com/login|alice|s3cr3t||Folder|Work|"
                                                  "TOTP|JBSWY3DPEHPK3PXP|PIN|4711|Recovery|abc def|Use the \"admin\" "
                                                  "account\r\nsecond line\r\nURL: https://git2.example.com",
                                                  "shop.example.org|https://shop.example.org/account|bob|pw2",
                                                  "Café ☕||carol|pässwörd"}
                                   << QList<int>{0, 2, 1};
        QTest::newRow("Chromium")
            << "chromium.csv" << int(ImportFormat::Chromium)
            << QStringList{"example.com|https://example.com/|dave|pa,ss\"word",
                           "www.bank.example|https://www.bank.example/login|erin|hunter2||||||||||"
                           "Security question: \"first pet\"\r\nAnswer: Rex",
                           "toolong.example|https://toolong.example/|frank|" + QString("0123456789").repeated(5),
                           "short.example|https://short.example/"}
            << QList<int>{0, 0, 3};
        QTest::newRow("Firefox") << "firefox.csv" << int(ImportFormat::Firefox)
                                 << QStringList{"accounts.example.net|https://accounts.example.net|gina|pw-g",
                                                "router.local|https://router.local:8443|admin|admin||HTTP realm|Router "
                                                "Realm"}
                                 << QList<int>{1, 0, 0};
    }
    void peerExports()
    {
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(QStringList, records);
        QFETCH(QList<int>, counts);
        const QByteArray csv = readFile(qEnvironmentVariable("LW_TEST_DATA") + "/import/" + file);
        const ImportPlan plan = planImport(csv, std::nullopt, {}, false);
        QVERIFY2(plan.ok(), qPrintable(plan.error));
        QCOMPARE(int(plan.format), format);
        QCOMPARE(joined(plan.records), records);
        QCOMPARE((QList<int>{plan.duplicates, plan.notLogins, plan.changed}), counts);
        QCOMPARE(plan.changes.size() >= plan.changed, true);
        // Named as another format, the same file lacks that format's columns.
        const auto other = format == int(ImportFormat::Chromium) ? ImportFormat::Bitwarden : ImportFormat::Chromium;
        QVERIFY(planImport(csv, other, {}, false).error.startsWith("line 1: the header has no column"));
    }

    // A value too long for its box is cut, and one that is no secret is kept whole in the notes; the
    // notes count a CR LF as one character, so 4096 characters of several lines still fit.
    void fitting()
    {
        const QString longName = QString("N").repeated(60);
        QString notes = QString("x").repeated(4093) + "\r\n\r\n\r\n"; // 4096 as the box counts
        QByteArray csv;
        Csv::appendLine(csv, ImportFormats::header(ImportFormat::Lockwell));
        Csv::appendLine(csv, QStringList{longName, "u"} + QStringList(11) + QStringList{"short"});
        Csv::appendLine(csv, QStringList{"notes"} + QStringList(12) + QStringList{notes});
        const ImportPlan plan = planImport(csv, std::nullopt, {}, false);
        QVERIFY2(plan.ok(), qPrintable(plan.error));
        QCOMPARE(plan.records.at(0).field(DataFileFormat::Account), longName.left(50));
        QCOMPARE(plan.records.at(0).field(DataFileFormat::Info), "short\r\naccount name (whole): " + longName);
        QCOMPARE(plan.records.at(1).field(DataFileFormat::Info), notes);
        QCOMPARE(plan.changed, 1);
        QCOMPARE(plan.changes.value(0),
                 "line 2, \"" + longName.left(50) +
                     "\": the account name was cut from 60 to 50 characters; the notes keep it whole");
    }

    // Export, import into an empty file, export again: the same bytes. Importing the file a second time
    // finds every record already there.
    void roundTrip()
    {
        const QString source = m_dir.filePath("source.lwd");
        const QString copy = m_dir.filePath("copy.lwd");
        QList<fixtures::Record> records{{"Zürich Bank", "https://bank.example/ü", "jörg", "p\"w,1", "hint\r\nline 2",
                                         "PIN", "1234", "PUK", "99887766", "TAN list", "a,b\"c", "Sicherheit", "Ω≈ç√",
                                         "Notes: \"quoted\"\r\nsecond, line\r\n\r\n"},
                                        {"Plain", "", "", "", "", "", "", "", "", "", "", "", "", ""},
                                        {"😀 emoji", "u", "i", "p"}};
        fixtures::makeDataFile(source, kPassword, records);
        fixtures::makeDataFile(copy, kPassword);

        const QByteArray first = exportCsv(AccountTable::loadAll(*openVault(source)));
        QVERIFY(first.startsWith("\"Account\",\"URL\",\"IDtext\",\"Password\",\"HINT\",\"Key1_Name\",\"Key1\","
                                 "\"Key2_Name\",\"Key2\",\"Key3_Name\",\"Key3\",\"Key4_Name\",\"Key4\",\"Info\"\r\n"));
        auto target = openVault(copy);
        const ImportPlan plan = planImport(first, std::nullopt, AccountTable::loadAll(*target), false);
        QCOMPARE(int(plan.format), int(ImportFormat::Lockwell));
        QCOMPARE(int(plan.records.size()), 3);
        QCOMPARE(plan.changed, 0);
        writeImport(*target, plan);
        QCOMPARE(exportCsv(AccountTable::loadAll(*target)), first);
        QCOMPARE(fixtures::readAccounts(*target), fixtures::readAccounts(source, kPassword));

        const ImportPlan again = planImport(first, std::nullopt, AccountTable::loadAll(*target), false);
        QCOMPARE(int(again.records.size()), 0);
        QCOMPARE(again.duplicates, 3);
        QCOMPARE(int(planImport(first, std::nullopt, AccountTable::loadAll(*target), true).records.size()), 3);

        const QString written = m_dir.filePath("out/export.csv");
        QDir(m_dir.path()).mkdir("out");
        writePrivateFile(written, first);
        QCOMPARE(readFile(written), first);
        QCOMPARE(QFile::permissions(written),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"export.csv"});
    }

    // The disk fills up after the first few hundred records: nothing of the import is in the file.
    void failedImportLeavesFileAsItWas()
    {
        const QString path = m_dir.filePath("full.lwd");
        fixtures::makeDataFile(path, kPassword, {{"Kept", "https://kept.example"}});
        const QStringList before = fixtures::readAccounts(path, kPassword);
        QByteArray csv = "name,url,username,password,note\n";
        for (int i = 0; i < 2000; ++i)
            csv +=
                QStringLiteral("site %1,https://%1.example,user,%2,\n").arg(i).arg(QString("p").repeated(40)).toUtf8();
        const ImportPlan plan = planImport(csv, std::nullopt, {}, false);
        QCOMPARE(int(plan.records.size()), 2000);
        {
            FailingDisk disk;
            auto db = openVault(path);
            bool failed = false;
            try {
                writeImport(*db, plan, [&](int done) {
                    if (done == 250)
                        disk.fail();
                });
            } catch (const RuntimeError&) {
                failed = true;
            }
            QVERIFY(failed);
            disk.heal();
        }
        QCOMPARE(fixtures::readAccounts(path, kPassword), before);
    }

    // A database made by KeePassXC itself, exported by its own command line, imported field by field.
    void keePassXcExport()
    {
        const QString xmlPath = m_dir.filePath("kp.xml");
        const QString kdbx = m_dir.filePath("kp.kdbx");
        {
            QFile file(xmlPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QXmlStreamWriter xml(&file);
            xml.writeStartDocument();
            xml.writeStartElement("KeePassFile");
            xml.writeStartElement("Root");
            int uuid = 0;
            const auto group = [&](const char* name) {
                xml.writeStartElement("Group");
                xml.writeTextElement("UUID", QByteArray(15, '\0').append(char(++uuid)).toBase64());
                xml.writeTextElement("Name", name);
            };
            const auto entry = [&](const QList<std::pair<QString, QString>>& strings) {
                xml.writeStartElement("Entry");
                xml.writeTextElement("UUID", QByteArray(15, '\0').append(char(++uuid)).toBase64());
                for (const auto& [key, value] : strings) {
                    xml.writeStartElement("String");
                    xml.writeTextElement("Key", key);
                    xml.writeTextElement("Value", value);
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            };
            group("Root");
            entry({{"Title", "Mail \"Ä\""},
                   {"UserName", "ann@example.com"},
                   {"Password", "p,w\"1"},
                   {"URL", "https://mail.example.com"},
                   {"Notes", "line one\nline \"two\""},
                   {"otp", "otpauth://totp/Mail?secret=JBSWY3DPEHPK3PXP"}});
            group("Work");
            entry({{"Title", "VPN"}, {"UserName", "bob"}, {"Password", "vpn-secret"}});
            xml.writeEndDocument();
        }
        QProcess keepass;
        keepass.start("keepassxc-cli", {"import", "-p", "-t", "100", xmlPath, kdbx});
        keepass.write("kp\nkp\n");
        keepass.closeWriteChannel();
        QVERIFY(keepass.waitForFinished(60000));
        QVERIFY2(keepass.exitCode() == 0, keepass.readAllStandardError().constData());
        keepass.start("keepassxc-cli", {"export", "--format", "csv", "-q", kdbx});
        keepass.write("kp\n");
        keepass.closeWriteChannel();
        QVERIFY(keepass.waitForFinished(60000));
        const QByteArray csv = keepass.readAllStandardOutput();

        const ImportPlan plan = planImport(csv, std::nullopt, {}, false);
        QVERIFY2(plan.ok(), qPrintable(plan.error));
        QCOMPARE(int(plan.format), int(ImportFormat::KeePassXC));
        QCOMPARE(int(plan.records.size()), 2);
        const QStringList mail = joined(plan.records.at(0)).split('|');
        QCOMPARE(mail.mid(0, 6),
                 (QStringList{"Mail \"Ä\"", "https://mail.example.com", "ann@example.com", "p,w\"1", "", ""}));
        // KeePassXC writes the whole otpauth address, longer than a key holds: it goes to the notes.
        QVERIFY(mail.at(13).startsWith("line one\r\nline \"two\"\r\nTOTP: otpauth://totp/"));
        QVERIFY(mail.at(13).contains("secret=JBSWY3DPEHPK3PXP"));
        QCOMPARE(joined(plan.records.at(1)), "VPN||bob|vpn-secret||Group|Work");
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
