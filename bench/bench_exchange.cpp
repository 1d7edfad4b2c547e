// Import and export of 10,000 realistic records, as the window and lockwell-cli do them, the key
// derivation of opening the data file left out (it is the same for every command):
//  - export: read every record, make Lockwell CSV, write it 0600 through a synced rename;
//  - import: read the CSV, plan it against the records already there (duplicates), and write it in one
//    transaction, committed and synced.
// Goals: import < 2 s, export < 1 s.
#include "BenchSupport.h"
#include "exchange/CsvExport.h"
#include "exchange/ImportPlan.h"
#include "storage/AccountTable.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int kRecords = 10000;
const QString kPassword = QStringLiteral("bench passwordK7352");

struct Files
{
    QString full;  // 10,000 records
    QString empty; // none
    QByteArray csv;
};

const Files& files()
{
    static const Files made = [] {
        Files f;
        QDir(bench::scratch().path()).mkdir(QStringLiteral("x"));
        const QString folder = bench::scratch().filePath(QStringLiteral("x/"));
        f.full = folder + QStringLiteral("full.lwd");
        f.empty = folder + QStringLiteral("empty.lwd");
        bench::makeDataFiles(folder + QStringLiteral("full-plain.db"), f.full, SecretText(kPassword), kRecords, 17);
        bench::makeDataFiles(folder + QStringLiteral("empty-plain.db"), f.empty, SecretText(kPassword), 0, 17);
        auto db = SqlCipherDatabase::open(f.full, SecretText(kPassword));
        f.csv = exportCsv(AccountTable::loadAll(*db));
        return f;
    }();
    return made;
}

void BM_Export10000(benchmark::State& state)
{
    const Files& f = files();
    auto db = SqlCipherDatabase::open(f.full, SecretText(kPassword));
    const QString out = bench::scratch().filePath(QStringLiteral("x/export.csv"));
    for (auto _ : state) {
        const std::vector<AccountRow> rows = AccountTable::loadAll(*db);
        writePrivateFile(out, exportCsv(rows));
    }
    state.counters["bytes"] = double(f.csv.size());
}

void BM_Import10000(benchmark::State& state)
{
    const Files& f = files();
    const QString target = bench::scratch().filePath(QStringLiteral("x/target.lwd"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        QFile::copy(f.empty, target);
        auto db = SqlCipherDatabase::open(target, SecretText(kPassword));
        state.ResumeTiming();
        const ImportPlan plan = planImport(f.csv, std::nullopt, AccountTable::loadAll(*db), false);
        writeImport(*db, plan);
        if (plan.records.size() != size_t(kRecords))
            state.SkipWithError("not every record was imported");
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
}
} // namespace

BENCHMARK(BM_Export10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_Import10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_MAIN();
