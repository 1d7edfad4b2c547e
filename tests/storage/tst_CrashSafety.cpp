// A process writing records, or compacting the data file in place, is killed (SIGKILL) at random
// moments, 200 times. After every kill the data file opens and holds exactly the acknowledged writes,
// give or take the one operation that was under way.
#include "DataFileFixtures.h"
#include "storage/AccountTable.h"
#include "storage/EngineError.h"
#include "storage/SqlCipherDatabase.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {
// Raw keys (the engine's x'...' form) skip the key derivation, which has nothing to do with crash safety
// and would cost a tenth of a second at every open.
const QString kPasswordA = QStringLiteral("x'") + QString(64, QLatin1Char('a')) + QLatin1Char('\'');
const QString kPasswordB = QStringLiteral("x'") + QString(64, QLatin1Char('b')) + QLatin1Char('\'');
constexpr int kWriteRuns = 120;
constexpr int kCompactionRuns = 80;

using Accounts = QMap<QString, QString>; // account name -> hint

// The child's log: operations acknowledged, and the one under way when it died (empty when none).
struct ChildLog
{
    QList<QStringList> done;
    QStringList underWay;
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

// Starts the child and kills it after a random delay: usually counted from the moment it has the file
// open, sometimes from its start, so that a kill can also fall into the open (and its rollback).
void runAndKill(const QStringList& arguments, QRandomGenerator& random, int maxDelayMs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(LW_DATAFILE_CHILD), arguments);
    QVERIFY(child.waitForStarted());
    if (random.bounded(4) != 0)
        QVERIFY2(child.waitForReadyRead(20000), "the child never got the file open");
    QThread::msleep(random.bounded(maxDelayMs));
    QCOMPARE(child.state(), QProcess::Running); // it died of something else than our kill
    child.kill();
    QVERIFY(child.waitForFinished(20000));
}
} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void killedRecordWritesLoseNothingAcknowledged()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("writes.lwd"));
        QList<fixtures::Record> records;
        for (int i = 0; i < 20; ++i)
            records << fixtures::Record{QStringLiteral("start-%1").arg(i)};
        fixtures::makeDataFile(path, kPasswordA, records);
        Accounts expected = readAccounts(path, kPasswordA);
        QRandomGenerator random(20240611);
        int killedInAWrite = 0;
        for (int run = 0; run < kWriteRuns; ++run) {
            const QString log = m_dir.filePath(QStringLiteral("writes-%1.log").arg(run));
            runAndKill({QStringLiteral("writes"), path, kPasswordA, log, QString::number(run + 1)}, random, 80);
            const ChildLog childLog = readLog(log);
            for (const QStringList& op : childLog.done)
                apply(expected, op);
            killedInAWrite += childLog.underWay.isEmpty() ? 0 : 1;
            Accounts withUnderWay = expected;
            apply(withUnderWay, childLog.underWay);

            const Accounts onDisk = readAccounts(path, kPasswordA);
            QVERIFY2(onDisk == expected || onDisk == withUnderWay,
                     qPrintable(QStringLiteral("run %1: %2 records on disk, %3 acknowledged")
                                    .arg(run)
                                    .arg(onDisk.size())
                                    .arg(expected.size())));
            expected = onDisk;
        }
        QVERIFY(killedInAWrite > kWriteRuns / 2);
    }

    void killedCompactionLeavesTheOldFileOrTheNewOneWhole()
    {
        const QString path = m_dir.filePath(QStringLiteral("compact me.lwd"));
        const QString work = m_dir.filePath(QStringLiteral("12-04-2026_LWDcompact.lwd"));
        QList<fixtures::Record> records;
        for (int i = 0; i < 400; ++i)
            records << fixtures::Record{QStringLiteral("acct-%1").arg(i), QStringLiteral("https://%1.example").arg(i),
                                        QStringLiteral("id"), QStringLiteral("pw"), QStringLiteral("hint %1").arg(i)};
        fixtures::makeDataFile(path, kPasswordA, records);
        const Accounts expected = readAccounts(path, kPasswordA);
        bool underA = true;
        QRandomGenerator random(4242);
        int killedInACompaction = 0;
        for (int run = 0; run < kCompactionRuns; ++run) {
            const QString log = m_dir.filePath(QStringLiteral("compact-%1.log").arg(run));
            const QString& from = underA ? kPasswordA : kPasswordB;
            const QString& to = underA ? kPasswordB : kPasswordA;
            runAndKill({QStringLiteral("compact"), path, from, to, work, log}, random, 500);
            const ChildLog childLog = readLog(log);
            killedInACompaction += childLog.underWay.isEmpty() ? 0 : 1;
            if (childLog.done.size() % 2 == 1)
                underA = !underA;
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
        }
        QVERIFY(killedInACompaction > kCompactionRuns / 2);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_CrashSafety.moc"
