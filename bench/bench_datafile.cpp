// Data files with 1,000, 10,000 and 100,000 records of realistic sizes: opening to the first record
// (the key derivation measured on its own), sort, filter, find, one write, one delete, compaction and
// peak memory. Opening is measured against plain SQLite reading the same records into the same record
// set in the same run (BM_Open_PlainSqlite).
#include "BenchSupport.h"
#include "errortrap/Bulwark.h"
#include "storage/AccountTable.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/FileSafety.h"
#include "storage/Recordset.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"
#include "storage/WorkFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <openssl/evp.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString kPassword = QStringLiteral("correct horseK7352");

struct Files
{
    QString encrypted;
    QString plain;
    QString rawKey; // the derived key in the engine's raw form: opens without the key derivation
};

using bench::realisticRecord;
using bench::scratch;

QString rawKeyOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray salt = file.read(16);
    const QByteArray pass = kPassword.toUtf8();
    unsigned char key[32];
    PKCS5_PBKDF2_HMAC_SHA1(pass.constData(), int(pass.size()), reinterpret_cast<const unsigned char*>(salt.constData()),
                           int(salt.size()), DataFileFormat::kKdfIterations, sizeof key, key);
    return QStringLiteral("x'") + QString::fromLatin1(QByteArray(reinterpret_cast<char*>(key), 32).toHex()) +
           QLatin1Char('\'');
}

const Files& filesFor(int records)
{
    static std::map<int, Files> cache;
    auto it = cache.find(records);
    if (it != cache.end())
        return it->second;
    Files files;
    files.plain = scratch().filePath(QStringLiteral("plain-%1.lwd").arg(records));
    files.encrypted = scratch().filePath(QStringLiteral("encrypted-%1.lwd").arg(records));
    bench::makeDataFiles(files.plain, files.encrypted, SecretText(kPassword), records, quint32(records));
    files.rawKey = rawKeyOf(files.encrypted);
    return cache.emplace(records, files).first->second;
}

std::shared_ptr<SqlCipherDatabase> openShared(const QString& path, const QString& password)
{
    // An unencrypted file (the reference) opens for reading only.
    const auto access = password.isEmpty() ? SqlCipherDatabase::Access::ReadOnly : SqlCipherDatabase::Access::ReadWrite;
    return std::shared_ptr<SqlCipherDatabase>(SqlCipherDatabase::open(path, SecretText(password), access));
}

// The key derivation: opening a data file with its password, less the rest of the open.
void BM_Open_KeyDerivation(benchmark::State& state)
{
    const Files& files = filesFor(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(SqlCipherDatabase::open(files.encrypted, SecretText(kPassword)));
}

// Open to the first record, without the key derivation: connect, read every record, show the first.
void BM_Open_Lockwell(benchmark::State& state)
{
    const Files& files = filesFor(int(state.range(0)));
    for (auto _ : state) {
        Recordset records(openShared(files.encrypted, files.rawKey));
        benchmark::DoNotOptimize(records.value(DataFileFormat::Account));
    }
    state.counters["records"] = double(state.range(0));
}

void BM_Open_PlainSqlite(benchmark::State& state)
{
    const Files& files = filesFor(int(state.range(0)));
    for (auto _ : state) {
        Recordset records(openShared(files.plain, QString()));
        benchmark::DoNotOptimize(records.value(DataFileFormat::Account));
    }
}

// A fresh record set over the encrypted file, as the main window holds it.
struct OpenSet
{
    explicit OpenSet(int records)
        : files(filesFor(records)), db(openShared(files.encrypted, files.rawKey)), set(std::make_unique<Recordset>(db))
    {
    }
    const Files& files;
    std::shared_ptr<SqlCipherDatabase> db;
    std::unique_ptr<Recordset> set;
};

void BM_Sort(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    bool ascending = true;
    for (auto _ : state) {
        open.set->setSort(ascending ? QStringLiteral("Account ASC") : QStringLiteral("Account DESC"));
        ascending = !ascending;
    }
}

void BM_FilterBegins(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    open.set->setSort(QStringLiteral("Account ASC"));
    bool b = true;
    for (auto _ : state) {
        open.set->setFilter(b ? QStringLiteral("Account LIKE 'b*'") : QStringLiteral("Account LIKE 'c*'"));
        b = !b;
    }
}

void BM_FilterContains(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    open.set->setSort(QStringLiteral("Account ASC"));
    bool first = true;
    for (auto _ : state) {
        open.set->setFilter(first ? QStringLiteral("URL LIKE '*abc*'") : QStringLiteral("URL LIKE '*xyz*'"));
        first = !first;
    }
}

// The grid's jump by first letter: to the first record, then find forward.
void BM_FindFirstLetter(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    open.set->setSort(QStringLiteral("Account ASC"));
    for (auto _ : state) {
        open.set->moveFirst();
        open.set->find(QStringLiteral("Account LIKE 'Z*'"));
    }
}

void BM_WriteOneRecord(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    open.set->setAbsolutePosition(open.set->recordCount() / 2);
    int i = 0;
    for (auto _ : state) {
        open.set->setValue(DataFileFormat::HINT, QStringLiteral("hint %1").arg(++i));
        open.set->update();
    }
}

void BM_DeleteOneRecord(benchmark::State& state)
{
    OpenSet open(int(state.range(0)));
    QRandomGenerator random(7);
    for (auto _ : state) {
        state.PauseTiming();
        open.set->addNew();
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
            open.set->setValue(column, realisticRecord(random).field(column).toString());
        open.set->update();
        state.ResumeTiming();
        open.set->deleteRecord();
    }
}

// Compaction in place: the encrypted copy into a work file beside the data file, then the rename.
void BM_CompactInPlace(benchmark::State& state)
{
    const Files& files = filesFor(int(state.range(0)));
    const QString source = scratch().filePath(QStringLiteral("compact-%1.lwd").arg(state.range(0)));
    QFile::remove(source);
    QFile::copy(files.encrypted, source);
    for (auto _ : state)
        Compactor::compactInPlace(source, SecretText(kPassword), SecretText(kPassword));
}

// Peak memory of a process that opens the data file, sorts, filters and clears the filter. Measured in a
// fresh process (this program run again with --peak-memory) so that nothing else counts.
int peakMemoryRun(const char* path, const char* key)
{
    bwdetail::g_tracing = false;
    {
        Recordset records(openShared(QString::fromUtf8(path), QString::fromUtf8(key)));
        records.setSort(QStringLiteral("Account ASC"));
        records.setFilter(QStringLiteral("URL LIKE '*abc*'"));
        records.setFilter(QString());
    }
    // VmHWM belongs to this program image alone (getrusage's maximum would count the parent's memory at
    // the fork, which execl does not reset).
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmHWM:"))
            std::printf("%s\n", line.mid(6).trimmed().split(' ').value(0).constData());
    }
    return 0;
}

void BM_PeakMemory(benchmark::State& state)
{
    const Files& files = filesFor(int(state.range(0)));
    long kilobytes = 0;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0)
            state.SkipWithError("pipe");
        const pid_t child = fork();
        if (child == 0) {
            dup2(out[1], STDOUT_FILENO);
            const QByteArray path = files.encrypted.toUtf8();
            const QByteArray key = files.rawKey.toUtf8();
            execl("/proc/self/exe", "bench_datafile", "--peak-memory", path.constData(), key.constData(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        char buffer[64] = {};
        const ssize_t got = read(out[0], buffer, sizeof buffer - 1);
        close(out[0]);
        waitpid(child, nullptr, 0);
        kilobytes = got > 0 ? std::atol(buffer) : 0;
    }
    state.counters["peak_MB"] = double(kilobytes) / 1024.0;
}

const std::vector<int64_t> kSizes = {1000, 10000, 100000};

} // namespace

BENCHMARK(BM_Open_KeyDerivation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Open_Lockwell)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Open_PlainSqlite)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sort)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterBegins)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterContains)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindFirstLetter)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteOneRecord)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeleteOneRecord)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompactInPlace)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PeakMemory)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--peak-memory")
        return peakMemoryRun(argv[2], argv[3]);
    // The running program switches the trace off once its main window is up; measure that state.
    bwdetail::g_tracing = false;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
