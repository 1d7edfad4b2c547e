// Processes writing records, compacting the data file in place, or closing it as Lockwell's exit does, are
// killed (SIGKILL) at random moments, also when the file is reached through a link, when every compaction
// fails part-way (a full disk, a folder the process may not write), and when two of them close the file at
// the same moment. After every kill the data file opens and holds exactly the acknowledged writes, give
// or take the one operation that was under way, and so does a copy of the file alone taken right after
// the kill, as a user's backup would be.
#include "DataFileFixtures.h"
#include "storage/AccountTable.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Raw keys (the engine's x'...' form) skip the key derivation, which has nothing to do with crash safety
// and would cost a tenth of a second at every open.
const QString kPasswordA = QStringLiteral("x'") + QString(64, QLatin1Char('a')) + QLatin1Char('\'');
const QString kPasswordB = QStringLiteral("x'") + QString(64, QLatin1Char('b')) + QLatin1Char('\'');

using Accounts = QMap<QString, QString>; // account name -> hint

// The child's log: operations acknowledged, and the one under way when it died (empty when none).
struct ChildLog
{
    QList<QStringList> done;
    QStringList underWay;
    int failed = 0;
};

ChildLog readLog(const QString& path)
{
    ChildLog log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return log;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("I ")) {
            log.underWay = QString::fromLatin1(line.mid(2)).split(QLatin1Char(' '));
        } else if (line == "K") {
            log.done << log.underWay;
            log.underWay.clear();
        } else if (line == "F") {
            ++log.failed;
            log.underWay.clear();
        }
    }
    return log;
}

void apply(Accounts& accounts, const QStringList& op)
{
    if (op.value(0) == QLatin1String("A"))
        accounts.insert(op.value(1), QString());
    else if (op.value(0) == QLatin1String("U"))
        accounts.insert(op.value(1), op.value(2));
    else if (op.value(0) == QLatin1String("D"))
        accounts.remove(op.value(1));
}

Accounts readAccounts(const QString& path, const QString& password)
{
    auto db = SqlCipherDatabase::open(path, SecretText(password));
    Accounts accounts;
    for (const AccountRow& row : AccountTable::loadAll(*db))
        accounts.insert(row.field(DataFileFormat::Account).toString(), row.field(DataFileFormat::HINT).toString());
    return accounts;
}

// A copy of the data file alone (no journal beside it), taken before anything opens the file again.
QString copyAlone(const QString& path, const QTemporaryDir& into)
{
    const QString copy = into.filePath(QStringLiteral("backup copy.lwd"));
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        qFatal("the data file could not be copied");
    return copy;
}

// What a copy of the file alone holds; a copy taken in the middle of a write (its journal beside the
// file) may not open at all, and then holds nothing.
std::optional<Accounts> readCopy(const QString& copy, const QString& password)
{
    try {
        return readAccounts(copy, password);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

QProcess* startChild(const QStringList& arguments, bool asNobody, QObject* parent)
{
    auto* child = new QProcess(parent);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList command = QStringList{QStringLiteral(LW_DATAFILE_CHILD)} + arguments;
    if (asNobody)
        command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
    const QString program = command.takeFirst();
    child->start(program, command);
    return child;
}

// Starts the child and kills it after a random delay: usually counted from the moment it has the file
// open, sometimes from its start, so that a kill can also fall into the open (and its rollback).
void runAndKill(const QStringList& arguments, QRandomGenerator& random, int maxDelayMs, bool asNobody = false)
{
    QProcess* child = startChild(arguments, asNobody, nullptr);
    const std::unique_ptr<QProcess> owned(child);
    QVERIFY(child->waitForStarted());
    if (random.bounded(4) != 0)
        QVERIFY2(child->waitForReadyRead(20000), "the child never got the file open");
    QThread::msleep(random.bounded(maxDelayMs));
    QCOMPARE(child->state(), QProcess::Running); // it died of something else than our kill
    child->kill();
    QVERIFY(child->waitForFinished(20000));
}

// The file's owner and mode, and where a link points.
QString fileState(const QString& path)
{
    struct stat st
    {
    };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return QStringLiteral("%1 %2 %3").arg(st.st_uid).arg(st.st_mode, 0, 8).arg(QFileInfo(path).symLinkTarget());
}
} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A folder for one scenario, and the path the children are given: the data file itself, or a link
    // to it from another folder.
    QString prepare(const QString& name, bool throughALink, QString& dataFile)
    {
        const QString folder = m_dir.filePath(name);
        QDir().mkpath(folder);
        dataFile = folder + QStringLiteral("/vault.lwd");
        if (!throughALink)
            return dataFile;
        const QString link = m_dir.filePath(name + QStringLiteral(" link.lwd"));
        QFile::link(dataFile, link);
        return link;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void aCopyOfTheFileAloneHoldsEveryAcknowledgedWrite()
    {
        const QString path = m_dir.filePath(QStringLiteral("copied.lwd"));
        fixtures::makeDataFile(path, kPasswordA, {{"kept"}, {"changed"}, {"deleted"}});
        Recordset records(std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(kPasswordA))));
        records.addNew();
        records.setValue(QStringLiteral("Account"), QStringLiteral("added"));
        records.update();
        records.setAbsolutePosition(2);
        records.setValue(QStringLiteral("HINT"), QStringLiteral("new hint"));
        records.update();
        records.setAbsolutePosition(3);
        records.deleteRecord();
        // Still open, no write under way: the file alone holds all of it.
        QCOMPARE(readAccounts(copyAlone(path, m_dir), kPasswordA),
                 Accounts({{"kept", ""}, {"changed", "new hint"}, {"added", ""}}));
    }

    void killedRecordWritesLoseNothingAcknowledged_data()
    {
        QTest::addColumn<bool>("throughALink");
        QTest::addColumn<int>("runs");
        QTest::newRow("the file itself") << false << 120;
        QTest::newRow("through a link") << true << 50;
    }

    void killedRecordWritesLoseNothingAcknowledged()
    {
        QFETCH(bool, throughALink);
        QFETCH(int, runs);
        QString dataFile;
        const QString path = prepare(QStringLiteral("writes %1").arg(throughALink), throughALink, dataFile);
        QList<fixtures::Record> records;
        for (int i = 0; i < 20; ++i)
            records << fixtures::Record{QStringLiteral("start-%1").arg(i)};
        fixtures::makeDataFile(dataFile, kPasswordA, records);
        const QString state = fileState(path);
        Accounts expected = readAccounts(path, kPasswordA);
        QRandomGenerator random(20240611);
        int killedInAWrite = 0;
        for (int run = 0; run < runs; ++run) {
            const QString log = m_dir.filePath(QStringLiteral("writes-%1-%2.log").arg(throughALink).arg(run));
            runAndKill({QStringLiteral("writes"), path, kPasswordA, log, QString::number(run + 1)}, random, 80);
            const ChildLog childLog = readLog(log);
            for (const QStringList& op : childLog.done)
                apply(expected, op);
            killedInAWrite += childLog.underWay.isEmpty() ? 0 : 1;
            Accounts withUnderWay = expected;
            apply(withUnderWay, childLog.underWay);
            const bool journalBeside = QFile::exists(dataFile + QStringLiteral("-journal"));
            const std::optional<Accounts> copied = readCopy(copyAlone(dataFile, m_dir), kPasswordA);

            const Accounts onDisk = readAccounts(path, kPasswordA);
            const QString where = QStringLiteral("run %1: %2 records on disk, %3 acknowledged")
                                      .arg(run)
                                      .arg(onDisk.size())
                                      .arg(expected.size());
            QVERIFY2(onDisk == expected || onDisk == withUnderWay, qPrintable(where));
            QVERIFY2(copied ? *copied == expected || *copied == withUnderWay : journalBeside, qPrintable(where));
            QVERIFY2(copied || !childLog.underWay.isEmpty(), qPrintable(where));
            QCOMPARE(fileState(path), state); // a link stays a link
            expected = onDisk;
        }
        QVERIFY(killedInAWrite > runs / 2);
    }

    void killedCompactionLeavesTheOldFileOrTheNewOneWhole_data()
    {
        QTest::addColumn<bool>("throughALink");
        QTest::addColumn<QString>("hindrance");
        QTest::addColumn<int>("runs");
        QTest::newRow("the file itself") << false << QString() << 80;
        QTest::newRow("through a link") << true << QString() << 25;
        // Every compaction fails part-way: the copy cannot grow past 20000 bytes.
        QTest::newRow("a full disk") << false << QStringLiteral("full") << 25;
        // Every compaction fails: the folder may not be written (as root: the copy is made, but the file
        // is another user's in a folder with the sticky bit, so it cannot be replaced).
        QTest::newRow("no write permission") << false << QStringLiteral("read-only") << 25;
    }

    void killedCompactionLeavesTheOldFileOrTheNewOneWhole()
    {
        QFETCH(bool, throughALink);
        QFETCH(QString, hindrance);
        QFETCH(int, runs);
        QString dataFile;
        const QString scenario = QStringLiteral("compact %1 %2").arg(throughALink).arg(hindrance);
        const QString path = prepare(scenario, throughALink, dataFile);
        QList<fixtures::Record> records;
        for (int i = 0; i < 400; ++i)
            records << fixtures::Record{QStringLiteral("acct-%1").arg(i), QStringLiteral("https://%1.example").arg(i),
                                        QStringLiteral("id"), QStringLiteral("pw"), QStringLiteral("hint %1").arg(i)};
        fixtures::makeDataFile(dataFile, kPasswordA, records);
        const Accounts expected = readAccounts(path, kPasswordA);
        const QString folder = QFileInfo(dataFile).path();
        QString logFolder = m_dir.path();
        bool asNobody = false;
        if (hindrance == QLatin1String("read-only")) {
            if (::geteuid() == 0) {
                asNobody = true;
                logFolder = folder;
                QCOMPARE(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
                QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 01777), 0);
                QCOMPARE(::chmod(QFile::encodeName(dataFile).constData(), 0666), 0);
            } else {
                QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
            }
        }
        const QString state = fileState(path);
        bool underA = true;
        QRandomGenerator random(4242);
        int killedInACompaction = 0;
        int failed = 0;
        for (int run = 0; run < runs; ++run) {
            const QString log = logFolder + QStringLiteral("/%1-%2.log").arg(scenario).arg(run);
            const QString& from = underA ? kPasswordA : kPasswordB;
            const QString& to = underA ? kPasswordB : kPasswordA;
            QStringList arguments = {QStringLiteral("compact"), path, from, to, log};
            if (hindrance == QLatin1String("full"))
                arguments << QStringLiteral("20000");
            runAndKill(arguments, random, 500, asNobody);
            const ChildLog childLog = readLog(log);
            killedInACompaction += childLog.underWay.isEmpty() ? 0 : 1;
            failed += childLog.failed;
            if (childLog.done.size() % 2 == 1)
                underA = !underA;
            // The file alone is always whole: a compaction replaces it in one step.
            const QString copy = copyAlone(dataFile, m_dir);
            // A compaction under way may have replaced the file just before the kill.
            Accounts onDisk;
            try {
                onDisk = readAccounts(path, underA ? kPasswordA : kPasswordB);
            } catch (const RuntimeError& e) {
                QCOMPARE(e.number(), EngineErr::WrongPassword);
                QVERIFY2(!childLog.underWay.isEmpty(), qPrintable(QStringLiteral("run %1").arg(run)));
                underA = !underA;
                onDisk = readAccounts(path, underA ? kPasswordA : kPasswordB);
            }
            QVERIFY2(onDisk == expected, qPrintable(QStringLiteral("run %1").arg(run)));
            QVERIFY2(readAccounts(copy, underA ? kPasswordA : kPasswordB) == expected,
                     qPrintable(QStringLiteral("run %1").arg(run)));
            QCOMPARE(fileState(path), state); // a link stays a link, the file keeps its owner and mode
        }
        QVERIFY(killedInACompaction > runs / 2);
        QVERIFY(!QFile::exists(dataFile + QStringLiteral("-journal")));
        if (!hindrance.isEmpty()) {
            QVERIFY(underA); // never replaced
            QVERIFY(failed > runs);
        }
    }

    void twoLockwellsClosingAtOnceKeepEveryRecord()
    {
        QString dataFile;
        const QString path = prepare(QStringLiteral("two closing"), false, dataFile);
        fixtures::makeDataFile(dataFile, kPasswordA, {{"start"}});
        Accounts expected = readAccounts(path, kPasswordA);
        QRandomGenerator random(1357);
        int bothClosed = 0;
        for (int run = 0; run < 30; ++run) {
            QList<QProcess*> children;
            QStringList logs;
            QObject owner;
            for (int c = 0; c < 2; ++c) {
                logs << m_dir.filePath(QStringLiteral("close-%1-%2.log").arg(run).arg(c));
                children << startChild(
                    {QStringLiteral("close"), path, kPasswordA, logs.last(), QString::number(run * 2 + c + 1)}, false,
                    &owner);
            }
            for (QProcess* child : children)
                QVERIFY2(child->waitForReadyRead(20000), "a child never got the file open");
            QThread::msleep(random.bounded(60));
            // Closed at nearly the same moment, each killed at a random moment of its close (or not).
            QList<int> killAt;
            for (QProcess* child : children) {
                child->write("close\n");
                child->waitForBytesWritten(1000);
                QThread::msleep(random.bounded(10));
                killAt << int(random.bounded(600));
            }
            QElapsedTimer since;
            since.start();
            for (int c = 0; c < 2; ++c) {
                const qint64 wait = killAt[c] - since.elapsed();
                if (wait > 0 && children[c]->waitForFinished(int(wait)))
                    continue;
                children[c]->kill();
                QVERIFY(children[c]->waitForFinished(20000));
            }

            Accounts withUnderWay = expected;
            int closed = 0;
            for (const QString& log : logs) {
                const ChildLog childLog = readLog(log);
                for (const QStringList& op : childLog.done) {
                    apply(expected, op);
                    apply(withUnderWay, op);
                    closed += op.value(0) == QLatin1String("C") ? 1 : 0;
                }
                apply(withUnderWay, childLog.underWay);
            }
            bothClosed += closed == 2 ? 1 : 0;
            const QString copy = copyAlone(dataFile, m_dir);
            const bool journalBeside = QFile::exists(dataFile + QStringLiteral("-journal"));
            const std::optional<Accounts> copied = readCopy(copy, kPasswordA);
            const Accounts onDisk = readAccounts(path, kPasswordA);
            // Every acknowledged record, and none but the ones under way besides.
            const auto holdsThem = [&](const Accounts& accounts) {
                for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                    if (!accounts.contains(it.key()))
                        return false;
                }
                for (auto it = accounts.cbegin(); it != accounts.cend(); ++it) {
                    if (!withUnderWay.contains(it.key()))
                        return false;
                }
                return true;
            };
            const QString where =
                QStringLiteral("run %1: %2 on disk, %3 acknowledged").arg(run).arg(onDisk.size()).arg(expected.size());
            QVERIFY2(holdsThem(onDisk), qPrintable(where));
            QVERIFY2(copied ? holdsThem(*copied) : journalBeside, qPrintable(where));
            expected = onDisk;
        }
        QVERIFY(bothClosed > 0); // some runs let both closes finish, one after the other
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crashsafety.moc"
