// Connecting the main window to a data file (each refusal with its message box and the file left as it
// was, the wrong password told from a foreign file) and compacting in place or into a copy.
#include "DataFileFixtures.h"
#include "FakeDataFileHost.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileConnection.h"
#include "desktop/MessageBox.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/DataFileFormat.h"
#include "storage/FileSafety.h"
#include "storage/RecordWriteError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
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

const char* const kAccountColumns = "Account, URL, IDtext, Password, HINT, Key1_Name, Key1, Key2_Name, Key2, "
                                    "Key3_Name, Key3, Key4_Name, Key4, Info";

// A database made by another program; encrypted as Lockwell's are when a key is given.
void makeForeignDatabase(const QString& path, const QByteArray& sql, const QByteArray& key = QByteArray())
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    if (!key.isEmpty()) {
        sqlite3_key(db, key.constData(), int(key.size()));
        SqlCipherDatabase::applyCipherSettings(db, "main");
    }
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
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

    void aMissingFileIsPassedOverQuietlyAtOpenAndAtExit()
    {
        Options.DBpath = path(QStringLiteral("nowhere.lwd"));
        QVERIFY(!m_connection->DBconnect(SecretText()));
        QCOMPARE(Options.DBpath, path(QStringLiteral("nowhere.lwd")));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(m_host->calls.isEmpty());
        // The shut-down's compaction of the remembered file: no box, and it is still remembered (its disk
        // may be mounted again).
        QVERIFY(!m_connection->CompactAndEncrypt(QString(), SecretText()));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QCOMPARE(Options.DBpath, path(QStringLiteral("nowhere.lwd")));
    }

    void theFileIsRememberedByItsAbsolutePathAndALinkStaysALink()
    {
        // A relative name (from the command line) and a link: DBpath names the file itself.
        QVERIFY(QDir().mkpath(path(QStringLiteral("synced"))));
        const QString real = path(QStringLiteral("synced/vault.lwd"));
        QVERIFY(QFile::copy(m_bobs, real));
        QCOMPARE(::chmod(QFile::encodeName(real).constData(), 0640), 0);
        const QString link = path(QStringLiteral("linked vault.lwd"));
        QVERIFY(QFile::link(real, link));
        const QString startedIn = QDir::currentPath();
        QVERIFY(QDir::setCurrent(path(QStringLiteral("synced"))));
        Options.DBpath = QStringLiteral("vault.lwd");
        const bool opened = m_connection->DBconnect(SecretText());
        QVERIFY(QDir::setCurrent(startedIn));
        QVERIFY(opened);
        QCOMPARE(Options.DBpath, real);

        Options.DBpath = link;
        QVERIFY(m_connection->DBconnect(SecretText()));
        QCOMPARE(Options.DBpath, real);
        m_host->control.recordset()->setValue(QStringLiteral("HINT"), QStringLiteral("through the link"));
        QVERIFY(m_connection->CompactAndEncrypt(QString(), SecretText()));
        // The exit's compaction of a remembered link that was never opened.
        Options.DBpath = link;
        QVERIFY(m_connection->CompactAndEncrypt(QString(), SecretText()));

        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        QCOMPARE(fixtures::readAccounts(real, kBobFile),
                 QStringList({"zeta|https://z", "Alpha|https://a|||through the link"}));
        struct stat st
        {
        };
        QCOMPARE(::stat(QFile::encodeName(real).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0640u); // the mode the user gave it
        QCOMPARE(QDir(path(QStringLiteral("synced"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"vault.lwd"}));
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
        // Refused only after the key has opened it: still nothing is written.
        QTest::newRow("encrypted, records without row ids")
            << "without rowid"
            << connectionError(26, "The file is not a Lockwell data file: table tblAccount has no row ids.");
        QTest::newRow("unprotected, tblAccount a view")
            << "view" << connectionError(26, "The file is not a Lockwell data file: it has no table tblAccount.");
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
        } else if (kind == QLatin1String("without rowid")) {
            makeForeignDatabase(file,
                                "CREATE TABLE tblAccount(ID INTEGER PRIMARY KEY, " + QByteArray(kAccountColumns) +
                                    ") WITHOUT ROWID; INSERT INTO tblAccount (ID, Account) VALUES (1, 'x');",
                                kBobFile.toUtf8());
        } else if (kind == QLatin1String("view")) {
            makeForeignDatabase(file, "CREATE TABLE t(" + QByteArray(kAccountColumns) +
                                          "); CREATE VIEW tblAccount AS SELECT * FROM t;");
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

    void anUnprotectedFileIsCopiedIntoAnEncryptedOneAndTheUserIsTold()
    {
        // Hostile: a trigger swallows new records, another copies passwords into a hidden table.
        const QString file = path(QStringLiteral("unprotected.lwd"));
        makeForeignDatabase(file,
                            "CREATE TABLE tblAccount(ID INTEGER PRIMARY KEY, " + QByteArray(kAccountColumns) +
                                ", Extra TEXT);"
                                "INSERT INTO tblAccount (Account, URL, Password, Extra) VALUES "
                                "('kept', 'https://k', 'pw', 'not a field');"
                                "CREATE TABLE hidden(p);"
                                "CREATE TRIGGER swallow BEFORE INSERT ON tblAccount BEGIN SELECT RAISE(IGNORE); END;"
                                "CREATE TRIGGER steal AFTER UPDATE ON tblAccount BEGIN "
                                "INSERT INTO hidden VALUES (new.Password); END;"
                                "CREATE VIEW everything AS SELECT * FROM tblAccount;");
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0644), 0);
        Options.DBpath = file;
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        QVERIFY(m_connection->DBconnect(SecretText()));
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest box = MessageBoxSeam::shown().first();
        QCOMPARE(box.title, QStringLiteral("UNPROTECTED DATA FILE!"));
        QVERIFY(box.prompt.startsWith(QStringLiteral("The data file was not encrypted:\r\n") + file + "\r\n"));
        QCOMPARE(box.icon, int(vb::vbExclamation));

        // Writes now reach the file, and nothing else of the old file came along.
        const auto records = m_host->control.recordset();
        records->setValue(QStringLiteral("Password"), QStringLiteral("changed"));
        records->update();
        records->addNew();
        records->setValue(QStringLiteral("Account"), QStringLiteral("added"));
        records->update();
        m_host->control.releaseRecordset();
        m_host->control.setConnection(ConnectionText());
        QCOMPARE(fixtures::readAccounts(file, kBobFile), QStringList({"kept|https://k||changed", "added"}));
        QCOMPARE(QFile::permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir.path())
                     .entryList({QStringLiteral("*unprotected*"), QStringLiteral(".lockwell*")},
                                QDir::AllEntries | QDir::Hidden),
                 QStringList({"unprotected.lwd"}));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(file).constData(), &db);
        const QByteArray key = kBobFile.toUtf8();
        sqlite3_key(db, key.constData(), int(key.size()));
        SqlCipherDatabase::applyCipherSettings(db, "main");
        sqlite3_stmt* schema = nullptr;
        sqlite3_prepare_v2(db, "SELECT type || ' ' || name FROM sqlite_master", -1, &schema, nullptr);
        QStringList objects;
        while (sqlite3_step(schema) == SQLITE_ROW)
            objects << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(schema, 0)));
        sqlite3_finalize(schema);
        sqlite3_close(db);
        QCOMPARE(objects, QStringList({"table tblAccount"}));
    }

    void inPlaceCompactionLeavesOtherFilesAlone()
    {
        // The compaction writes the current record's pending change and leaves one user-only file
        // encrypted under the login's password. Its work file is made in a folder of its own beside the
        // data file: a file of the work file's name that someone put in the temporary folder, a
        // temporary folder that does not exist, and a work folder left by a crash stop nothing, and
        // none of them is touched.
        const QString file = path(QStringLiteral("compact me.lwd"));
        QVERIFY(QFile::copy(m_bobs, file));
        const QString squatted = path(QStringLiteral("shared tmp/")) +
                                 QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) +
                                 QStringLiteral("_LWDcompact.lwd");
        const QString crashed = path(QStringLiteral(".lockwell-crashed/")) + Compactor::workFileName();
        for (const QString& stale : {squatted, crashed}) {
            QVERIFY(QDir().mkpath(QFileInfo(stale).path()));
            QFile leftOver(stale);
            QVERIFY(leftOver.open(QIODevice::WriteOnly));
            leftOver.write("someone else's");
        }
        QCOMPARE(::chmod(QFile::encodeName(squatted).constData(), 0444), 0);
        QCOMPARE(::chmod(QFile::encodeName(QFileInfo(squatted).path()).constData(), 01777), 0);
        const auto restoreTmp = qScopeGuard([this] { qputenv("TMPDIR", QFile::encodeName(path("tmp"))); });
        for (const char* tmp : {"shared tmp", "no such folder"}) {
            qputenv("TMPDIR", QFile::encodeName(path(QLatin1String(tmp))));
            Options.DBpath = file;
            QVERIFY(m_connection->DBconnect(SecretText()));
            m_host->control.recordset()->setValue(QStringLiteral("HINT"), QLatin1String(tmp));
            m_host->calls.clear();
            QVERIFY(m_connection->CompactAndEncrypt(QString(), SecretText()));
            QCOMPARE(m_host->calls, QStringList({"DisplayInfo", "DisplayInfo"}));
            QVERIFY(!m_host->control.isDataFileOpen());
            QCOMPARE(fixtures::readAccounts(file, kBobFile).last(), QStringLiteral("Alpha|https://a|||") + tmp);
        }
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QCOMPARE(QFile::permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        for (const QString& stale : {squatted, crashed}) {
            QFile leftOver(stale);
            QVERIFY(leftOver.open(QIODevice::ReadOnly));
            QCOMPARE(leftOver.readAll(), QByteArray("someone else's"));
        }
        QCOMPARE(QDir(m_dir.path())
                     .entryList({QStringLiteral("*compact me*"), QStringLiteral(".lockwell*")},
                                QDir::AllEntries | QDir::Hidden),
                 QStringList({".lockwell-crashed", "compact me.lwd"}));
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
#include "test_datafileconnection.moc"
