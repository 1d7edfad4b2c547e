// The helper process of the data file tests. In its first two modes test_crashsafety kills it: it works
// on a data file without end and logs each operation before it starts ("I ...") and after it returned
// ("K"), so the test knows exactly which writes were acknowledged when the kill came.
//
//   datafile_child writes  <data file> <password> <log> <seed>
//       adds, changes and deletes records through the record set
//   datafile_child compact <data file> <password A> <password B> <work file> <log>
//       compacts the file in place again and again, alternating between the two passwords
//       (the file starts under password A)
//   datafile_child open <data file> <password>
//       opens the file once and prints "opened" or "<number>|<description>" (the tests run it as
//       another user)
#include "errortrap/Bulwark.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/FileSafety.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_log = -1;

void logLine(const QByteArray& line)
{
    const QByteArray text = line + '\n';
    if (::write(g_log, text.constData(), size_t(text.size())) != text.size())
        _exit(3);
}

void ready()
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

int runWrites(const QString& path, const QString& password, quint32 seed)
{
    auto db = std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(password)));
    Recordset records(db);
    QRandomGenerator random(seed);
    ready();
    for (int i = 0;; ++i) {
        const int choice = int(random.bounded(100));
        if (records.recordCount() < 5 || choice < 55) {
            const QByteArray account = "rec-" + QByteArray::number(seed) + "-" + QByteArray::number(i);
            logLine("I A " + account);
            records.addNew();
            records.setValue(QStringLiteral("Account"), QString::fromLatin1(account));
            records.setValue(QStringLiteral("Info"), QString(int(random.bounded(3000)), QLatin1Char('x')));
            records.update();
        } else if (choice < 85) {
            records.setAbsolutePosition(1 + int(random.bounded(records.recordCount())));
            const QByteArray hint = "h" + QByteArray::number(i);
            logLine("I U " + records.value(QStringLiteral("Account")).toLatin1() + " " + hint);
            records.setValue(QStringLiteral("HINT"), QString::fromLatin1(hint));
            records.update();
        } else {
            records.setAbsolutePosition(1 + int(random.bounded(records.recordCount())));
            logLine("I D " + records.value(QStringLiteral("Account")).toLatin1());
            records.deleteRecord();
        }
        logLine("K");
    }
}

int runCompactions(const QString& path, const QString& passwordA, const QString& passwordB, const QString& work)
{
    ready();
    for (int k = 0;; ++k) {
        const QString& from = k % 2 == 0 ? passwordA : passwordB;
        const QString& to = k % 2 == 0 ? passwordB : passwordA;
        logLine("I C " + QByteArray::number(k));
        FileSafety::removeFile(work);
        Compactor::compactDatabase(ConnectionText::forCompactSource(path, SecretText(from)),
                                   ConnectionText::forCompactTarget(work, SecretText(to)));
        Compactor::replaceDataFile(work, path);
        FileSafety::removeFile(work);
        logLine("K");
    }
}
} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool writes = mode == "writes" && argc == 6;
    const bool compact = mode == "compact" && argc == 7;
    if (mode == "open" && argc == 4) {
        try {
            SqlCipherDatabase::open(QFile::decodeName(argv[2]), SecretText(QString::fromUtf8(argv[3])));
            std::puts("opened");
        } catch (const RuntimeError& e) {
            std::printf("%d|%s\n", e.number(), e.description().toUtf8().constData());
        }
        return 0;
    }
    if (!writes && !compact) {
        std::fputs("usage: datafile_child writes|compact ...\n", stderr);
        return 2;
    }
    const QString path = QFile::decodeName(argv[2]);
    g_log = ::open(argv[writes ? 4 : 6], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (g_log < 0)
        return 2;
    try {
        if (writes)
            return runWrites(path, QString::fromUtf8(argv[3]), quint32(QByteArray(argv[5]).toUInt()));
        return runCompactions(path, QString::fromUtf8(argv[3]), QString::fromUtf8(argv[4]), QFile::decodeName(argv[5]));
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().toUtf8().constData());
        return 1;
    }
}
