// Opening a file: what is refused, with which number, and that a refused file is left exactly as it
// was; a wrong password is told from a file that is not a data file by the rule of docs/FORMAT.md.
#include "DataFileFixtures.h"
#include "datafile/AccountTable.h"
#include "datafile/DataFileFormat.h"
#include "datafile/EngineError.h"
#include "datafile/SqlCipherDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kPassword = QStringLiteral("tiger7K7352");

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator gen(4711);
    for (char& c : bytes)
        c = char(gen.bounded(256));
    return bytes;
}

void plainDatabase(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void truncateTo(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.resize(size));
}
} // namespace

class TestDataFileOpen : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_good; // an encrypted data file with three records

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_good = m_dir.filePath(QStringLiteral("good.lwd.src"));
        fixtures::makeDataFile(
            m_good, kPassword,
            {{"one", "u1"},
             {"two", "u2", "", "", "", "", "", "", "", "", "", "", "", QString(9000, QLatin1Char('i'))},
             {"three"}});
    }

    void refusedFilesAreLeftAsTheyWere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("missing") << "missing" << EngineErr::CannotOpen << "The data file does not exist.";
        QTest::newRow("folder") << "folder" << EngineErr::CannotOpen
                                << "The path names a folder or a device, not a data file.";
        QTest::newRow("0 bytes") << "empty" << EngineErr::NotADataFile
                                 << "The file is empty: it is not a Lockwell data file.";
        QTest::newRow("cut inside a page") << "cut" << EngineErr::NotADataFile
                                           << "The file is not a Lockwell data file: its size does not fit the "
                                              "format (it may be cut short).";
        QTest::newRow("cut at a page boundary")
            << "cut at page" << EngineErr::Damaged
            << "The data file is damaged: it is shorter than its header says, or its pages do not fit together.";
        QTest::newRow("random bytes") << "random" << EngineErr::NotADataFile
                                      << "The file is not a Lockwell data file: its size does not fit the "
                                         "format (it may be cut short).";
        QTest::newRow("random whole pages")
            << "random pages" << EngineErr::WrongPassword << "The data file password is not valid.";
        QTest::newRow("wrong password") << "wrong password" << EngineErr::WrongPassword
                                        << "The data file password is not valid.";
        QTest::newRow("no password for an encrypted file")
            << "no password" << EngineErr::WrongPassword << "The data file password is not valid.";
        QTest::newRow("foreign database") << "foreign" << EngineErr::NotADataFile
                                          << "The file is not a Lockwell data file: it has no table tblAccount.";
        QTest::newRow("tblAccount without Info") << "no Info" << EngineErr::NotADataFile
                                                 << "The file is not a Lockwell data file: table tblAccount has no "
                                                    "column Info.";
        QTest::newRow("read-only file") << "read-only" << EngineErr::ReadOnly
                                        << "The data file or its folder is read-only.";
    }

    void refusedFilesAreLeftAsTheyWere()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, description);
        const QString folder = m_dir.filePath(kind);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/file.lwd");
        QString password = kPassword;
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("empty")) {
            writeBytes(path, QByteArray());
        } else if (kind == QLatin1String("cut") || kind == QLatin1String("cut at page")) {
            QVERIFY(QFile::copy(m_good, path));
            truncateTo(path, kind == QLatin1String("cut") ? QFileInfo(path).size() - 100 : DataFileFormat::kPageSize);
        } else if (kind == QLatin1String("random")) {
            writeBytes(path, randomBytes(10000));
        } else if (kind == QLatin1String("random pages")) {
            writeBytes(path, randomBytes(3 * DataFileFormat::kPageSize));
        } else if (kind == QLatin1String("wrong password") || kind == QLatin1String("no password")) {
            QVERIFY(QFile::copy(m_good, path));
            password = kind == QLatin1String("no password") ? QString() : QStringLiteral("tiger8K7352");
        } else if (kind == QLatin1String("foreign")) {
            plainDatabase(path, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('x');");
        } else if (kind == QLatin1String("no Info")) {
            plainDatabase(path, "CREATE TABLE tblAccount(Account, URL, IDtext, Password, HINT, Key1_Name, Key1, "
                                "Key2_Name, Key2, Key3_Name, Key3, Key4_Name, Key4)");
        } else if (kind == QLatin1String("read-only")) {
            QVERIFY(QFile::copy(m_good, path));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0400), 0);
        }

        const fixtures::FolderSnapshot before(folder);
        try {
            SqlCipherDatabase::open(path, password);
            QFAIL("the file was opened");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.description(), description);
        }
        const fixtures::FolderSnapshot after(folder);
        QVERIFY2(before == after, qPrintable(before.describe() + QStringLiteral("\n---\n") + after.describe()));
    }

    void anotherUsersFileIsRefusedUnread()
    {
        // The owner's 0600 file, opened by a process of another user (run as nobody when we are root).
        const QString folder = m_dir.filePath(QStringLiteral("private"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/theirs.lwd");
        QVERIFY(QFile::copy(m_good, path));
        QString program = QStringLiteral(LW_DATAFILE_CHILD);
        QStringList arguments = {QStringLiteral("open"), path, kPassword};
        if (::geteuid() == 0) {
            QCOMPARE(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600), 0);
            arguments.prepend(program);
            arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + arguments;
            program = QStringLiteral("setpriv");
        } else {
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0), 0);
        }
        const fixtures::FolderSnapshot before(folder);
        QProcess child;
        child.start(program, arguments);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(),
                 QStringLiteral("3|Permission denied: the data file cannot be read."));
        QVERIFY(before == fixtures::FolderSnapshot(folder));
    }

    void unprotectedDatabaseWithTheTableOpensWithoutAPassword()
    {
        const QString path = m_dir.filePath(QStringLiteral("plain.lwd"));
        fixtures::makePlainDataFile(path, {{"kept", "https://k"}});
        for (const QString& password : {QString(), kPassword}) {
            auto db = SqlCipherDatabase::open(path, password);
            QVERIFY(!db->isEncrypted());
            QCOMPARE(AccountTable::loadAll(*db).size(), size_t(1));
        }
    }

    void encryptedFileOpensUnderAnyPathName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << QStringLiteral("my passwords 2024.lwd");
        QTest::newRow("quotes") << QStringLiteral("Bob's \"vault\".lwd");
        QTest::newRow("non-ASCII") << QStringLiteral("Z\u00fcrich-\u00c5se-\u00f1-\u0416.lwd");
        QTest::newRow("URI look-alike") << QStringLiteral("file:x?mode=ro#y.lwd");
    }

    void encryptedFileOpensUnderAnyPathName()
    {
        QFETCH(QString, name);
        const QString folder = m_dir.filePath(QStringLiteral("names ") + QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QLatin1Char('/') + name;
        QVERIFY(QFile::copy(m_good, path));
        auto db = SqlCipherDatabase::open(path, kPassword);
        QVERIFY(db->isEncrypted());
        const auto rows = AccountTable::loadAll(*db);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[1].field(DataFileFormat::Info).size(), 9000);
        db.reset();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
    }
};

QTEST_GUILESS_MAIN(TestDataFileOpen)
#include "tst_DataFileOpen.moc"
