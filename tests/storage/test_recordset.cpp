// The record set: edit modes and what reaches the file, sort, the required account name, and a second
// writer on the same file.
#include "DataFileFixtures.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {
// A raw key (the engine's x'...' form) opens without the key derivation: this test reopens the file often.
const QString kPassword = QStringLiteral("x'") + QString(64, QLatin1Char('5')) + QLatin1Char('\'');

// The number of the RuntimeError that body raises, or 0.
int errorNumberOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// Runs SQL in the sqlcipher shell on the data file: another process writing the same file.
bool otherWriter(const QString& path, const QString& sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlcipher"), {path});
    if (!shell.waitForStarted())
        return false;
    shell.write("PRAGMA key = \"" + kPassword.toLatin1() + "\";\nPRAGMA cipher_page_size = 16384;\n" + sql.toUtf8() +
                "\n.quit\n");
    shell.closeWriteChannel();
    return shell.waitForFinished(30000) && shell.exitCode() == 0 && shell.readAllStandardError().isEmpty();
}
} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::shared_ptr<SqlCipherDatabase> m_db;
    std::unique_ptr<Recordset> m_rs;

    QString account() const { return m_rs->value(QStringLiteral("Account")); }
    QStringList listedAccounts() const
    {
        QStringList list;
        for (int row = 0; row < m_rs->rowCount(); ++row)
            list << m_rs->valueAt(row, DataFileFormat::Account);
        return list;
    }
    QStringList onDisk() const { return fixtures::readAccounts(m_path, kPassword); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("records.lwd"));
        fixtures::makeDataFile(m_path, kPassword,
                               {{"delta", "https://d.example.org"},
                                {"Alpha", "https://www.example.com/a"},
                                {"charlie", "http://c.test"},
                                {"O'Brien", "https://obrien.example.com"},
                                {"bravo", "https://b.example.org"}});
        m_db = SqlCipherDatabase::open(m_path, SecretText(kPassword));
    }

    void init() { m_rs = std::make_unique<Recordset>(m_db); }
    void cleanup() { m_rs.reset(); }

    void changesAreWrittenOnUpdateOrWhenMovingOffAndDroppedOnCancel()
    {
        m_rs->setValue(QStringLiteral("HINT"), QStringLiteral("old hint"));
        QCOMPARE(m_rs->editMode(), int(Recordset::EditInProgress));
        QCOMPARE(m_rs->value(QStringLiteral("HINT")), QStringLiteral("old hint"));
        m_rs->cancelUpdate();
        QCOMPARE(m_rs->editMode(), int(Recordset::EditNone));
        QCOMPARE(m_rs->value(QStringLiteral("HINT")), QString());

        m_rs->setValue(QStringLiteral("Password"), QStringLiteral("p\u00e4ss;'\"w\u00f6rd"));
        m_rs->update();
        QCOMPARE(m_rs->editMode(), int(Recordset::EditNone));
        QCOMPARE(onDisk().first(), QStringLiteral("delta|https://d.example.org||p\u00e4ss;'\"w\u00f6rd"));

        m_rs->setValue(QStringLiteral("Password"), QString());
        m_rs->setValue(QStringLiteral("Info"), QStringLiteral("line 1\r\nline 2"));
        m_rs->moveNext(); // a bound control's move writes the pending change
        QCOMPARE(m_rs->editMode(), int(Recordset::EditNone));
        QCOMPARE(onDisk().first(), QStringLiteral("delta|https://d.example.org") + QString(12, QLatin1Char('|')) +
                                       QStringLiteral("line 1\r\nline 2"));
        m_rs->movePrevious();
        m_rs->setValue(QStringLiteral("Info"), QString());
        m_rs->update();
    }

    void sortIgnoresLetterCaseAndKeepsTheCurrentRecord()
    {
        m_rs->setAbsolutePosition(4);
        QCOMPARE(account(), QStringLiteral("O'Brien"));
        QSignalSpy reset(m_rs.get(), &Recordset::rowsReset);
        m_rs->setSort(QStringLiteral("Account ASC"));
        QCOMPARE(listedAccounts(), QStringList({"Alpha", "bravo", "charlie", "delta", "O'Brien"}));
        QCOMPARE(account(), QStringLiteral("O'Brien"));
        QCOMPARE(reset.count(), 1);
        m_rs->setSort(QStringLiteral("URL DESC"));
        QCOMPARE(listedAccounts(), QStringList({"Alpha", "O'Brien", "delta", "bravo", "charlie"}));
        QCOMPARE(errorNumberOf([&] { m_rs->setSort(QStringLiteral("Account UP")); }), EngineErr::BadArguments);
        QCOMPARE(errorNumberOf([&] { m_rs->setSort(QStringLiteral("Nickname")); }), EngineErr::ItemNotFound);
        QCOMPARE(m_rs->sort(), QStringLiteral("URL DESC"));
        m_rs->setSort(QString());
        QCOMPARE(listedAccounts(), QStringList({"delta", "Alpha", "charlie", "O'Brien", "bravo"}));
    }

    void sortOrderOfEqualAndAccentedNames()
    {
        // Case-insensitive by character code: equal names keep file order, accented letters come
        // after the plain alphabet.
        m_rs->addNew();
        m_rs->setValue(QStringLiteral("Account"), QStringLiteral("\u00c4rger"));
        m_rs->addNew();
        m_rs->setValue(QStringLiteral("Account"), QStringLiteral("DELTA"));
        m_rs->update();
        m_rs->setSort(QStringLiteral("Account"));
        QCOMPARE(listedAccounts(),
                 QStringList({"Alpha", "bravo", "charlie", "delta", "DELTA", "O'Brien", "\u00c4rger"}));

        m_rs->setFilter(QStringLiteral("Account LIKE '\u00e4*'"));
        QCOMPARE(m_rs->recordCount(), 1);
        m_rs->deleteRecord();
        m_rs->setFilter(QStringLiteral("Account LIKE 'delta'"));
        QCOMPARE(listedAccounts(), QStringList({"delta", "DELTA"}));
        m_rs->moveLast();
        m_rs->deleteRecord();
        QCOMPARE(onDisk().size(), 5);
    }

    void aRecordWithoutAnAccountNameIsNeverWritten()
    {
        // Whatever moves off it, a new record without a name is dropped, and a stored record whose name
        // was cleared keeps what the file holds.
        const QStringList before = onDisk();
        const std::function<void()> movesOff[] = {
            [&] { m_rs->moveFirst(); },
            [&] { m_rs->movePrevious(); },
            [&] { m_rs->setAbsolutePosition(1); },
            [&] { m_rs->setSort(QStringLiteral("Account DESC")); },
            [&] { m_rs->setFilter(QStringLiteral("URL LIKE '*'")); },
            [&] { m_rs->find(QStringLiteral("Account LIKE 'b*'")); },
            [&] {
                m_rs->addNew();
                m_rs->cancelUpdate();
            },
        };
        for (const auto& moveOff : movesOff) {
            m_rs->addNew();
            m_rs->setValue(QStringLiteral("URL"), QStringLiteral("https://nameless.example"));
            moveOff();
            QCOMPARE(m_rs->recordCount(), before.size());
            m_rs->moveFirst();
            m_rs->setValue(QStringLiteral("Account"), QString());
            m_rs->setValue(QStringLiteral("Password"), QStringLiteral("goes with the name"));
            moveOff();
            QCOMPARE(m_rs->editMode(), int(Recordset::EditNone));
            QVERIFY(!listedAccounts().contains(QString()));
            QCOMPARE(onDisk(), before);
        }
    }

    void anotherWritersChangeIsNeverOverwrittenUnseen()
    {
        // The sqlcipher shell, a process of its own, writes the file this set shows. (This process keeps one
        // connection to the file: opening another here would let go of the first one's file locks.)
        const QString path = m_dir.filePath(QStringLiteral("two writers.lwd"));
        fixtures::makeDataFile(path, kPassword, {{"delta", "https://d.example.org"}, {"bravo"}});
        auto db = std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(kPassword)));
        Recordset records(db);
        const auto field = [&](const char* name) { return records.value(QString::fromLatin1(name)); };
        QVERIFY(otherWriter(path, QStringLiteral("UPDATE tblAccount SET Account = 'delta renamed' WHERE rowid = 1;")));
        // Different fields: both changes stay, and the record shows what the file holds.
        records.setValue(QStringLiteral("IDtext"), QStringLiteral("bob"));
        records.moveNext();
        records.movePrevious();
        QCOMPARE(fixtures::readAccounts(*db).first(), QStringLiteral("delta renamed|https://d.example.org|bob"));
        QCOMPARE(field("Account"), QStringLiteral("delta renamed"));

        // The same field: the write is refused, the change stays pending over the stored record, and
        // dropping it shows the other writer's value.
        QVERIFY(otherWriter(path, QStringLiteral("UPDATE tblAccount SET HINT = 'theirs', URL = 'u' WHERE rowid = 1;")));
        records.setValue(QStringLiteral("HINT"), QStringLiteral("mine"));
        QCOMPARE(errorNumberOf([&] { records.moveNext(); }), EngineErr::RowNotFound);
        QCOMPARE(records.absolutePosition(), 1);
        QCOMPARE(field("HINT"), QStringLiteral("mine"));
        QCOMPARE(field("URL"), QStringLiteral("u"));
        records.cancelUpdate();
        QCOMPARE(field("HINT"), QStringLiteral("theirs"));
        // Written again on purpose, it goes over the other writer's value.
        QVERIFY(otherWriter(path, QStringLiteral("UPDATE tblAccount SET HINT = 'theirs again' WHERE rowid = 1;")));
        records.setValue(QStringLiteral("HINT"), QStringLiteral("mine"));
        QCOMPARE(errorNumberOf([&] { records.update(); }), EngineErr::RowNotFound);
        records.update();
        QCOMPARE(fixtures::readAccounts(*db).first(), QStringLiteral("delta renamed|u|bob||mine"));

        // A record deleted meanwhile is not lost either: written again, it is stored anew.
        QVERIFY(otherWriter(path, QStringLiteral("DELETE FROM tblAccount WHERE rowid = 1;")));
        records.setValue(QStringLiteral("Password"), QStringLiteral("new password"));
        QCOMPARE(errorNumberOf([&] { records.moveNext(); }), EngineErr::RowNotFound);
        QCOMPARE(records.editMode(), int(Recordset::EditAdd));
        records.moveNext();
        QCOMPARE(fixtures::readAccounts(*db), QStringList({"bravo", "delta renamed|u|bob|new password|mine"}));
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "test_recordset.moc"
