// Connecting the main window to a data file (each refusal with its message box and the file left as it
// was, the wrong password told from a foreign file) and compacting in place or into a copy.
#include "DataFileFixtures.h"
#include "FakeDataFileHost.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileConnection.h"
#include "desktop/MessageBox.h"
#include "storage/DataFileFormat.h"
#include "storage/FileSafety.h"
#include "storage/RecordWriteError.h"
#include "storage/Recordset.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kBobFile = QStringLiteral("bob secretK7352"); // BOB is logged in with "bob secret"
const QString kAliceFile = QStringLiteral("alice pwK7352");

QString connectionError(int number, const char* description)
{
    return QStringLiteral("Database Connection Error:\r\n%1: \r\n").arg(number) + QString::fromUtf8(description);
}

void makeForeignDatabase(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
} // namespace

class TestDataFileConnection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_bobs;   // the logged-in user's data file, two records
    QString m_alices; // another user's
    std::unique_ptr<FakeDataFileHost> m_host;
    std::unique_ptr<DataFileConnection> m_connection;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", QFile::encodeName(path(QStringLiteral("tmp"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("tmp"))));
        fixtures::logIn(QStringLiteral("BOB"), QStringLiteral("bob secret"));
        m_bobs = path(QStringLiteral("bob.src"));
        m_alices = path(QStringLiteral("alice.src"));
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
        Options.DBpath = path(QStringLiteral("nowhere.lwd"));
        QVERIFY(!m_connection->DBconnect(SecretText()));
        QCOMPARE(Options.DBpath, path(QStringLiteral("nowhere.lwd")));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(m_host->calls.isEmpty());
    }

    void theUsersFileOpensAtTheTopOfTheSortedList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << QStringLiteral("my passwords 2024.lwd");
        QTest::newRow("quotes") << QStringLiteral("Bob's \"home\" file.lwd");
        QTest::newRow("non-ASCII letters") << QStringLiteral("Z\u00fcrich-\u00e5-\u0416.lwd");
        QTest::newRow("URI look-alike") << QStringLiteral("file:x?mode=ro#y.lwd");
    }

    void theUsersFileOpensAtTheTopOfTheSortedList()
    {
        QFETCH(QString, name);
        QVERIFY(QFile::copy(m_bobs, path(name)));
        Options.DBpath = path(name);
        QVERIFY(m_connection->DBconnect(SecretText()));
        QCOMPARE(m_host->control.recordset()->sort(), QStringLiteral("Account ASC"));
        QCOMPARE(m_host->control.recordset()->value(QStringLiteral("Account")), QStringLiteral("Alpha"));
        QCOMPARE(m_host->calls, QStringList({"panel 1: 2 Accounts stored.", "DisplayInfo", "panel 2: " + name,
                                             "removeExtraGridColumns", "UpdateTools 1", "focusGrid"}));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        m_host.reset(); // closed: one file again
        QCOMPARE(QDir(m_dir.path()).entryList({name + '*'}, QDir::Files | QDir::Hidden), QStringList({name}));
    }

    void refusedFilesShowWhyAndStayAsTheyWere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("prompt");
        const QString mismatch = QStringLiteral("User: BOB's Login password does not\r\nmatch the embedded DataBase "
                                                "password:\r\nPlease use the 'Open Special' Menu command.");
        const char* badSize = "The file is not a Lockwell data file: its size does not fit the format (it may be "
                              "cut short).";
        QTest::newRow("another user's file") << "alice" << mismatch;
        // Random bytes in whole pages cannot be told from a wrong password.
        QTest::newRow("random whole pages") << "random pages" << mismatch;
        QTest::newRow("random bytes") << "random" << connectionError(26, badSize);
        QTest::newRow("cut inside a page") << "cut" << connectionError(26, badSize);
        QTest::newRow("cut at a page boundary")
            << "cut at page"
            << connectionError(11, "The data file is damaged: it is shorter than its header says, or its pages do "
                                   "not fit together.");
        QTest::newRow("a folder") << "folder"
                                  << connectionError(14, "The path names a folder or a device, not a data file.");
        QTest::newRow("0 bytes") << "empty"
                                 << connectionError(26, "The file is empty: it is not a Lockwell data file.");
        QTest::newRow("SQLite without tblAccount")
            << "foreign" << connectionError(26, "The file is not a Lockwell data file: it has no table tblAccount.");
        QTest::newRow("tblAccount without Info")
            << "no Info"
            << connectionError(26, "The file is not a Lockwell data file: table tblAccount has no column Info.");
    }

    void refusedFilesShowWhyAndStayAsTheyWere()
    {
        QFETCH(QString, kind);
        QFETCH(QString, prompt);
        const QString folder = path(QStringLiteral("refused ") + kind);
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/it's a \u00e9 file.lwd");
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(file));
        } else if (kind == QLatin1String("foreign") || kind == QLatin1String("no Info")) {
            makeForeignDatabase(file, kind == QLatin1String("foreign")
                                          ? "CREATE TABLE tblAccounts(Account TEXT)"
                                          : "CREATE TABLE tblAccount(Account, URL, IDtext, Password, HINT, Key1_Name, "
                                            "Key1, Key2_Name, Key2, Key3_Name, Key3, Key4_Name, Key4)");
        } else if (kind.startsWith(QLatin1String("random")) || kind == QLatin1String("empty")) {
            const int size = kind == QLatin1String("empty")    ? 0
                             : kind == QLatin1String("random") ? 5000
                                                               : 2 * DataFileFormat::kPageSize;
            QByteArray bytes(size, '\0');
            for (int i = 0; i < size; ++i)
                bytes[i] = char((i * 7919) >> 3);
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        } else {
            QVERIFY(QFile::copy(kind == QLatin1String("alice") ? m_alices : m_bobs, file));
            QFile copy(file);
            if (kind == QLatin1String("cut"))
                QVERIFY(copy.resize(copy.size() - 1000));
            if (kind == QLatin1String("cut at page"))
                QVERIFY(copy.resize(DataFileFormat::kPageSize));
        }
        const fixtures::FolderSnapshot before(folder);
        Options.DBpath = file;
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(!m_connection->DBconnect(SecretText()));
        QCOMPARE(Options.DBpath, QString()); // not opened again at the next start
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest box = MessageBoxSeam::shown().first();
        QCOMPARE(box.title, prompt.startsWith(QLatin1String("User: ")) ? QStringLiteral("PASSWORD MISMATCH!")
                                                                       : QStringLiteral("DATABASE CONNECTION ERROR!"));
        QCOMPARE(box.prompt, prompt);
        QCOMPARE(box.buttons, int(vb::vbOKOnly));
        QCOMPARE(box.icon, int(vb::vbCritical));
        QVERIFY2(before == fixtures::FolderSnapshot(folder), qPrintable(kind));
        QVERIFY(!m_host->control.isDataFileOpen());
    }

    void aFileThatCannotBeWrittenOpensForViewingAndIsLeftAsItWas()
    {
        const QString folder = path(QStringLiteral("read-only"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/vault.lwd");
        QVERIFY(QFile::copy(m_bobs, file));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        const fixtures::FolderSnapshot before(folder);
        Options.DBpath = file;
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(m_connection->DBconnect(SecretText()));
        QVERIFY(m_host->control.isReadOnly());
        QCOMPARE(m_host->control.recordset()->recordCount(), 2);
        QCOMPARE(m_host->panel2, QStringLiteral("vault.lwd (read-only)"));
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest notice = MessageBoxSeam::shown().first();
        QCOMPARE(notice.title, QStringLiteral("READ-ONLY DATA FILE!"));
        QVERIFY(notice.prompt.startsWith(QStringLiteral("This data file cannot be written")));
        QVERIFY(notice.prompt.contains(QStringLiteral("open for viewing only")));
        QCOMPARE(Options.DBpath, file);

        const auto records = m_host->control.recordset();
        records->setValue(QStringLiteral("HINT"), QStringLiteral("not possible"));
        try {
            records->update();
            QFAIL("a read-only file took a write");
        } catch (const RecordWriteError& e) {
            QCOMPARE(int(e.reason()), int(RecordWriteError::Reason::ReadOnly));
        }
        records->cancelUpdate();
        m_host->control.close();
        QVERIFY(before == fixtures::FolderSnapshot(folder));
    }

    void aFileAnotherAccountCannotReadIsRefusedUnread()
    {
        // The owner's 0600 file, opened by a process of another user (nobody, when we are root).
        const QString folder = path(QStringLiteral("private"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/theirs.lwd");
        QVERIFY(QFile::copy(m_bobs, file));
        QStringList command = {QStringLiteral(LW_DATAFILE_CHILD), QStringLiteral("open"), file, kBobFile};
        if (::geteuid() == 0) {
            QCOMPARE(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
            QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0600), 0);
            command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
        } else {
            QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0), 0);
        }
        const fixtures::FolderSnapshot before(folder);
        QProcess child;
        child.start(command.takeFirst(), command);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(),
                 QStringLiteral("3|Permission denied: the data file cannot be read."));
        QVERIFY(before == fixtures::FolderSnapshot(folder));
    }

    void inPlaceCompactionEncryptsAnUnprotectedFileForTheUser()
    {
        // An unprotected file with tblAccount opens without a password; the compaction writes the
        // current record's pending change, clears away a stale work file and replacement, and leaves one
        // user-only file encrypted under the login's password.
        const QString file = path(QStringLiteral("unprotected.lwd"));
        fixtures::makePlainDataFile(file, {{"kept", "https://k"}});
        const QString work = DataFileConnection::compactionWorkFile();
        QCOMPARE(work, path(QStringLiteral("tmp/")) + QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) +
                           QStringLiteral("_LWDcompact.lwd"));
        for (const QString& stale : {work, FileSafety::replacementName(file)}) {
            QFile leftOver(stale);
            QVERIFY(leftOver.open(QIODevice::WriteOnly));
            leftOver.write("left over from a crash");
        }
        Options.DBpath = file;
        QVERIFY(m_connection->DBconnect(SecretText()));
        m_host->control.recordset()->setValue(QStringLiteral("HINT"), QStringLiteral("written at close"));
        m_host->calls.clear();
        QVERIFY(m_connection->CompactAndEncrypt(QString(), SecretText()));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo", "DisplayInfo"}));
        QVERIFY(!m_host->control.isDataFileOpen());
        QVERIFY(!QFile::exists(work));
        QCOMPARE(fixtures::readAccounts(file, kBobFile), QStringList({"kept|https://k|||written at close"}));
        QCOMPARE(QFile::permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*unprotected*")}, QDir::Files | QDir::Hidden),
                 QStringList({"unprotected.lwd"}));
        QFile encrypted(file);
        QVERIFY(encrypted.open(QIODevice::ReadOnly));
        QVERIFY(!encrypted.readAll().contains("tblAccount")); // the schema is encrypted too

        // Nothing open: no copy is made.
        QVERIFY(!m_connection->CompactAndEncrypt(path(QStringLiteral("copy.lwd")), SecretText()));
        QVERIFY(!QFile::exists(path(QStringLiteral("copy.lwd"))));
    }

    void aFailedCompactionSaysWhyThenACopyBecomesTheUsers()
    {
        const QString source = path(QStringLiteral("alice-source.lwd"));
        QVERIFY(QFile::copy(m_alices, source));
        Options.DBpath = source;
        QVERIFY(m_connection->DBconnect(SecretText(QStringLiteral("alice pw"))));
        m_host->calls.clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(!m_connection->CompactAndEncrypt(QString(), SecretText(QStringLiteral("not alice's"))));
        const MessageBoxRequest box = MessageBoxSeam::shown().first();
        QCOMPARE(box.title, QStringLiteral("DATABASE COMPACT ERROR!"));
        QCOMPARE(box.prompt,
                 QStringLiteral("DataCompact Error:\r\n-2147217843: \r\nThe data file password is not valid."
                                "\r\n\r\nThe data file itself is safe: it keeps every record saved in it."));
        QCOMPARE(box.icon, int(vb::vbCritical));
        QCOMPARE(m_host->calls, QStringList({"DisplayInfo"})); // no second one after a failure
        QCOMPARE(fixtures::readAccounts(source, kAliceFile), QStringList({"alice's"}));
        QVERIFY(QDir(path(QStringLiteral("tmp"))).isEmpty());

        QVERIFY(m_connection->DBconnect(SecretText(QStringLiteral("alice pw"))));
        QVERIFY(m_connection->CompactAndEncrypt(path(QStringLiteral("for bob.lwd")),
                                                SecretText(QStringLiteral("alice pw"))));
        QCOMPARE(fixtures::readAccounts(path(QStringLiteral("for bob.lwd")), kBobFile), QStringList({"alice's"}));
        QCOMPARE(fixtures::readAccounts(source, kAliceFile), QStringList({"alice's"}));
        QVERIFY(QDir(path(QStringLiteral("tmp"))).isEmpty());
    }
};

QTEST_MAIN(TestDataFileConnection)
#include "tst_DataFileConnection.moc"
