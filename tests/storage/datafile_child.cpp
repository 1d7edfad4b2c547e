// The helper process of the data file tests. In its first three modes test_crashsafety kills it: it works
// on a data file and logs each operation before it starts ("I ...") and after it returned ("K"), or
// failed ("F"), so the test knows exactly which writes were acknowledged when the kill came.
//
//   datafile_child writes  <data file> <password> <log> <seed>
//       adds, changes and deletes records through the record set, without end
//   datafile_child compact <data file> <password A> <password B> <log> [<largest file size>]
//       compacts the file in place again and again, alternating between the two passwords (the file
//       starts under password A); with a size, no file can grow past it, as on a full disk
//   datafile_child close <data file> <password> <log> <seed>
//       adds records until a line comes in on standard input, then closes the file and compacts it in
//       place, as Lockwell's exit does, and ends
//   datafile_child open <data file> <password>
//       opens the file once and prints "opened" or "<number>|<description>" (the tests run it as
//       another user)
#include "errortrap/Bulwark.h"
#include "storage/Compactor.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
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

int runCompactions(const QString& path, const QString& passwordA, const QString& passwordB)
{
    ready();
    for (int k = 0;;) {
        const QString& from = k % 2 == 0 ? passwordA : passwordB;
        const QString& to = k % 2 == 0 ? passwordB : passwordA;
        logLine("I C " + QByteArray::number(k));
        try {
            Compactor::compactInPlace(path, SecretText(from), SecretText(to));
            logLine("K");
            ++k;
        } catch (const RuntimeError&) {
            logLine("F");
            ::usleep(1000); // not a tight loop
        }
    }
}

bool closeAsked()
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return ::poll(&input, 1, 0) > 0;
}

int runUntilClosed(const QString& path, const QString& password, quint32 seed)
{
    {
        Recordset records(std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(password))));
        ready();
        for (int i = 0; !closeAsked(); ++i) {
            const QByteArray account = "rec-" + QByteArray::number(seed) + "-" + QByteArray::number(i);
            logLine("I A " + account);
            records.addNew();
            records.setValue(QStringLiteral("Account"), QString::fromLatin1(account));
            records.update();
            logLine("K");
            ::usleep(10000); // at a person's pace: two processes writing flat out would starve each other
        }
        logLine("I C");
        records.close();
    } // lets go of the file
    try {
        Compactor::compactInPlace(path, SecretText(password), SecretText(password));
        logLine("K");
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "compaction refused: %d\n", e.number());
        logLine("F");
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool writes = (mode == "writes" || mode == "close") && argc == 6;
    const bool compact = mode == "compact" && (argc == 6 || argc == 7);
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
        std::fputs("usage: datafile_child writes|compact|close ...\n", stderr);
        return 2;
    }
    const QString path = QFile::decodeName(argv[2]);
    g_log = ::open(argv[writes ? 4 : 5], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (g_log < 0)
        return 2;
    if (compact && argc == 7) {
        // Writing past the size fails (EFBIG) instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = rlim_t(QByteArray(argv[6]).toULongLong());
        const rlimit limit{size, size};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
    }
    try {
        if (mode == "close")
            return runUntilClosed(path, QString::fromUtf8(argv[3]), quint32(QByteArray(argv[5]).toUInt()));
        if (writes)
            return runWrites(path, QString::fromUtf8(argv[3]), quint32(QByteArray(argv[5]).toUInt()));
        return runCompactions(path, QString::fromUtf8(argv[3]), QString::fromUtf8(argv[4]));
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().toUtf8().constData());
        return 1;
    }
}
