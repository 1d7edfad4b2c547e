// What the procedure trace costs a procedure call: switched off (the program's state after its main window
// loads), on without logs (start-up and login), and on with the circular log written for every line.
#include "errortrap/Bulwark.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
int g_sink = 0;

void tracedProcedure()
{
    BW_TRACE("basBench.bas", "Sub Traced");
    benchmark::DoNotOptimize(++g_sink);
}

void startTrap(const QTemporaryDir& dir, const QByteArray& config)
{
    bwReset();
    bwSetProgramFolder(dir.path());
    QFile file(dir.filePath(QStringLiteral("BWCLIENT.INI")));
    if (file.open(QIODevice::WriteOnly))
        file.write(config);
    file.close();
    bwOption(22, QStringLiteral("GET")); // starts the trap: reads the file, opens the logs
}

void BM_TraceSwitchedOff(benchmark::State& state)
{
    QTemporaryDir dir;
    startTrap(dir, QByteArray());
    bwOption(22, 0);
    for (auto _ : state)
        tracedProcedure();
    bwReset();
}
BENCHMARK(BM_TraceSwitchedOff);

void BM_TraceWithoutLogs(benchmark::State& state)
{
    QTemporaryDir dir;
    startTrap(dir, QByteArray());
    for (auto _ : state)
        tracedProcedure();
    bwReset();
}
BENCHMARK(BM_TraceWithoutLogs);

void BM_TraceToCircularLog(benchmark::State& state)
{
    QTemporaryDir dir;
    startTrap(dir, "[Log File]\nCircularLog=1\n[include]\nResources=0\nMemory=0\n");
    for (auto _ : state)
        tracedProcedure();
    bwReset();
}
BENCHMARK(BM_TraceToCircularLog);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
