// Connecting the main window to a data file (each refusal with its message box and the file left as it
// was) and compacting a data file in place or into a copy.
#include "DataFileFixtures.h"
#include "FakeDataFileHost.h"
#include "LoginFixture.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileConnection.h"
#include "datafile/DataFileFormat.h"
#include "datafile/EngineError.h"
#include "datafile/Recordset.h"
#include "datafile/SqlCipherDatabase.h"
#include "desktop/MessageBox.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {
const QString kBob = QStringLiteral("bob secret"); // the user logged in
const QString kBobFile = QStringLiteral("bob secretK7352");
const QString kAliceFile = QStringLiteral("alice pwK7352");

QString connectionError(int number, const QString& description)
{
    return QStringLiteral("Database Connection Error:\r\n") + QString::number(number) + QStringLiteral(": \r\n") +
           description;
}

int modeOf(const QString& path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return int(st.st_mode & 0777);
}
} // namespace

class TestDataFileConnection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_bobs;   // a data file of the logged-in user with two records
    QString m_alices; // a data file of another user
    std::unique_ptr<FakeDataFileHost> m_host;
    std::unique_ptr<DataFileConnection> m_connection;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", QFile::encodeName(path(QStringLiteral("tmp"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("tmp"))));
        fixtures::logIn(QStringLiteral("BOB"), kBob);
        m_bobs = path(QStringLiteral("bob.lwd.src"));
        m_alices = path(QStringLiteral("alice.lwd.src"));
        fixtures::makeDataFile(m_bobs, kBobFile, {{"zeta", "https://z"}, {"Alpha", "https://a"}});
        fixtures::makeDataFile(m_alices, kAliceFile, {{"alice's"}});
    }

    void init()
    {
        m_host = std::make_unique<FakeDataFileHost>();
        m_connection = std::make_unique<DataFileConnection>(*m_host);
        MessageBoxSeam::clear();
    }

    void aMissingFileIsQuietlyNotOpened()
    {
        DBpath = path(QStringLiteral("nowhere.lwd"));
        QVERIFY(!m_connection->DBconnect(QString()));
        QCOMPARE(DBpath, path(QStringLiteral("nowhere.lwd")));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(m_host->calls.isEmpty());
    }

    void theUsersFileOpensSortedByAccount_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << QStringLiteral("Passwords.lwd");
        QTest::newRow("blanks") << QStringLiteral("my passwords 2024.lwd");
        QTest::newRow("quotes") << QStringLiteral("Bob's \"home\" file.lwd");
        QTest::newRow("non-ASCII letters") << QStringLiteral("Z\u00fcrich-\u00e5-\u0416.lwd");
    }

    void theUsersFileOpensSortedByAccount()
    {
        QFETCH(QString, name);
        QFile::remove(path(name));
        QVERIFY(QFile::copy(m_bobs, path(name)));
        DBpath = path(name);
        QVERIFY(m_connection->DBconnect(QString()));
        const auto records = m_host->control.recordset();
        QVERIFY(m_host->control.isDataFileOpen());
        QCOMPARE(records->sort(), QStringLiteral("Account ASC"));
        QCOMPARE(records->value(QStringLiteral("Account")), QStringLiteral("Alpha"));
        QCOMPARE(m_host->calls, QStringList({"panel 1: 2 Accounts stored.", "DisplayInfo", "panel 2: " + name,
                                             "removeExtraGridColumns", "UpdateTools 1"}));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QCOMPARE(DBpath, path(name));
    }

    void anotherUsersFileOpensOnlyWithTheirPassword()
    {
        QFile::copy(m_alices, path(QStringLiteral("alice.lwd")));
        DBpath = path(QStringLiteral("alice.lwd"));
        QVERIFY(m_connection->DBconnect(QStringLiteral("alice pw")));
        QCOMPARE(m_host->panel1, QStringLiteral("1 Accounts stored."));
    }

    void refusedFilesShowWhyAndStayAsTheyWere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("another user's file")
            << "alice"
            << "PASSWORD MISMATCH!"
            << "User: BOB's Login password does not\r\nmatch the embedded DataBase password:\r\n"
               "Please use the 'Open Special' Menu command.";
        QTest::newRow("a folder") << "folder"
                                  << "DATABASE CONNECTION ERROR!"
                                  << connectionError(14, "The path names a folder or a device, not a data file.");
        QTest::newRow("0 bytes") << "empty"
                                 << "DATABASE CONNECTION ERROR!"
                                 << connectionError(26, "The file is empty: it is not a Lockwell data file.");
        QTest::newRow("truncated") << "cut"
                                   << "DATABASE CONNECTION ERROR!"
                                   << connectionError(26, "The file is not a Lockwell data file: its size does not "
                                                          "fit the format (it may be cut short).");
        QTest::newRow("random bytes") << "random"
                                      << "DATABASE CONNECTION ERROR!"
                                      << connectionError(26, "The file is not a Lockwell data file: its size does "
                                                             "not fit the format (it may be cut short).");
        QTest::newRow("SQLite without tblAccount")
            << "foreign"
            << "DATABASE CONNECTION ERROR!"
            << connectionError(26, "The file is not a Lockwell data file: it has no table tblAccount.");
        QTest::newRow("read-only file") << "read-only"
                                        << "DATABASE CONNECTION ERROR!"
                                        << connectionError(8, "The data file or its folder is read-only.");
    }

    void refusedFilesShowWhyAndStayAsTheyWere()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        const QString folder = path(QStringLiteral("refused ") + kind);
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/it's a \u00e9 file.lwd");
        if (kind == QLatin1String("alice") || kind == QLatin1String("read-only")) {
            QVERIFY(QFile::copy(kind == QLatin1String("alice") ? m_alices : m_bobs, file));
            if (kind == QLatin1String("read-only"))
                QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(file));
        } else if (kind == QLatin1String("cut")) {
            QVERIFY(QFile::copy(m_bobs, file));
            QFile cut(file);
            QVERIFY(cut.resize(cut.size() - 1000));
        } else if (kind == QLatin1String("foreign")) {
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(file).constData(), &db);
            sqlite3_exec(db, "CREATE TABLE tblAccounts(Account TEXT)", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("random"))
                out.write(QByteArray(5000, '\x5a'));
        }
        const fixtures::FolderSnapshot before(folder);
        DBpath = file;
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(!m_connection->DBconnect(QString()));
        QCOMPARE(DBpath, QString());
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest box = MessageBoxSeam::shown().first();
        QCOMPARE(box.title, title);
        QCOMPARE(box.prompt, prompt);
        QCOMPARE(box.buttons, int(vb::vbOKOnly));
        QCOMPARE(box.icon, int(vb::vbCritical));
        QVERIFY2(before == fixtures::FolderSnapshot(folder), qPrintable(kind));
        QVERIFY(!m_host->control.isDataFileOpen());
    }

    void anEmptyTableCountsZero()
    {
        fixtures::makeDataFile(path(QStringLiteral("empty.lwd")), kBobFile);
        DBpath = path(QStringLiteral("empty.lwd"));
        QVERIFY(m_connection->DBconnect(QString()));
        QCOMPARE(m_host->panel1, QStringLiteral("0 Accounts stored."));
    }

    void updateLastloadShowsTheFileName()
    {
        m_connection->UpdateLastload(QString());
        QVERIFY(m_host->calls.isEmpty());
        m_connection->UpdateLastload(QStringLiteral("/home/bob/Vault.lwd"));
        QCOMPARE(m_host->panel2, QStringLiteral("Vault.lwd"));
        m_connection->UpdateLastload(QStringLiteral("Vault2.lwd"));
        QCOMPARE(m_host->panel2, QStringLiteral("Vault2.lwd"));
    }

    void inPlaceCompactionEncryptsUnderTheLoginPassword()
    {
        // An unprotected file opens without a password; the compaction makes it the user's, writing the
        // pending change of the current record first and removing a stale work file.
        const QString file = path(QStringLiteral("unprotected.lwd"));
        fixtures::makePlainDataFile(file, {{"kept", "https://k"}});
        QCOMPARE(DataFileConnection::compactionWorkFile(),
                 path(QStringLiteral("tmp/")) + QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) +
                     QStringLiteral("_LWDcompact.lwd"));
        QFile stale(DataFileConnection::compactionWorkFile());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("left over from a crash");
        stale.close();

        DBpath = file;
        QVERIFY(m_connection->DBconnect(QString()));
        m_host->control.recordset()->setValue(QStringLiteral("HINT"), QStringLiteral("written at close"));
        m_host->calls.clear();
        QVERIFY(m_connection->CompactAndEncrypt(QString(), QString()));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo", "DisplayInfo"}));
        QVERIFY(!m_host->control.isDataFileOpen());
        QCOMPARE(m_host->control.connectionString(), QString());
        QVERIFY(!QFile::exists(DataFileConnection::compactionWorkFile()));
        QCOMPARE(fixtures::readAccounts(file, kBobFile), QStringList({"kept|https://k|||written at close"}));
        QCOMPARE(modeOf(file), 0600);
        QVERIFY(SqlCipherDatabase::open(file, kBobFile)->isEncrypted());
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*unprotected*")}, QDir::Files | QDir::Hidden),
                 QStringList({"unprotected.lwd"}));

        // Nothing open: nothing happens.
        m_host->calls.clear();
        QVERIFY(m_connection->CompactAndEncrypt(QString(), QString()));
        QVERIFY(!m_connection->CompactAndEncrypt(path(QStringLiteral("copy.lwd")), QString()));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo", "DisplayInfo"}));
        QVERIFY(!QFile::exists(path(QStringLiteral("copy.lwd"))));
    }

    void compactionIntoACopyLeavesTheSourceAlone()
    {
        // Open With Password, then a copy for the logged-in user.
        const QString source = path(QStringLiteral("alice-source.lwd"));
        QVERIFY(QFile::copy(m_alices, source));
        DBpath = source;
        QVERIFY(m_connection->DBconnect(QStringLiteral("alice pw")));
        const fixtures::FolderSnapshot before(m_dir.path() + QStringLiteral("/tmp"));
        QVERIFY(m_connection->CompactAndEncrypt(path(QStringLiteral("for bob.lwd")), QStringLiteral("alice pw")));
        QCOMPARE(fixtures::readAccounts(path(QStringLiteral("for bob.lwd")), kBobFile), QStringList({"alice's"}));
        QCOMPARE(fixtures::readAccounts(source, kAliceFile), QStringList({"alice's"}));
        QVERIFY(before == fixtures::FolderSnapshot(m_dir.path() + QStringLiteral("/tmp")));
    }

    void aFailedCompactionSaysWhyAndLeavesTheSource()
    {
        const QString source = path(QStringLiteral("alice-again.lwd"));
        QVERIFY(QFile::copy(m_alices, source));
        DBpath = source;
        QVERIFY(m_connection->DBconnect(QStringLiteral("alice pw")));
        QStringList filesBefore = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        filesBefore.sort();
        m_host->calls.clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(!m_connection->CompactAndEncrypt(QString(), QStringLiteral("not alice's")));
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown().first().title, QStringLiteral("DATABASE COMPACT ERROR!"));
        QCOMPARE(MessageBoxSeam::shown().first().prompt,
                 QStringLiteral("DataCompact Error:\r\n-2147217843: \r\nThe data file password is not valid."));
        QCOMPARE(MessageBoxSeam::shown().first().icon, int(vb::vbCritical));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo"})); // no second one after a failure
        QStringList filesAfter = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        filesAfter << QStringLiteral("alice-again.lwd-shm") << QStringLiteral("alice-again.lwd-wal"); // closed since
        filesAfter.sort();
        QCOMPARE(filesAfter, filesBefore);
        QCOMPARE(fixtures::readAccounts(source, kAliceFile), QStringList({"alice's"}));
        QVERIFY(!QFile::exists(DataFileConnection::compactionWorkFile()));

        DBpath.clear();
        m_host->calls.clear();
        QVERIFY(!m_connection->CompactAndEncrypt(QString(), QString()));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo", "DisplayInfo"}));
    }
};

QTEST_MAIN(TestDataFileConnection)
#include "tst_DataFileConnection.moc"
