// lockwell-cli ls against keepassxc-cli ls -R -f, as whole processes: the same 10,000 realistic records in a
// Lockwell data file and in a KeePassXC database (keepassxc-cli import of a KeePass XML file, its key
// derivation set to take as long as Lockwell's, measured here), listed alternately in one run. Wall time
// from start to exit, and each process's peak resident memory.
#include "BenchSupport.h"
#include "storage/DataFilePassword.h"

#include <QStandardPaths>
#include <QUuid>
#include <QXmlStreamWriter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kRecords = 10000;
constexpr quint32 kSeed = 10000;
const QByteArray kMaster = "bench master";

struct Vaults
{
    QString lockwell;
    QString keepass;
    QString keepassCli;
    double keyDerivationMs = 0;
};

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same records as a KeePass XML export: one entry each, the extra key and the hint as fields of
// their own.
void writeKeePassXml(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument();
    xml.writeStartElement("KeePassFile");
    xml.writeStartElement("Meta");
    xml.writeTextElement("DatabaseName", "bench");
    xml.writeEndElement();
    xml.writeStartElement("Root");
    xml.writeStartElement("Group");
    const auto uuid = [&] { xml.writeTextElement("UUID", QUuid::createUuid().toRfc4122().toBase64()); };
    uuid();
    xml.writeTextElement("Name", "Root");
    const auto field = [&](const QString& key, QStringView value) {
        xml.writeStartElement("String");
        xml.writeTextElement("Key", key);
        xml.writeTextElement("Value", value.toString());
        xml.writeEndElement();
    };
    QRandomGenerator random{kSeed};
    for (int i = 0; i < kRecords; ++i) {
        using namespace DataFileFormat;
        const AccountRow row = bench::realisticRecord(random);
        xml.writeStartElement("Entry");
        uuid();
        field("Title", row.field(Account));
        field("URL", row.field(URL));
        field("UserName", row.field(IDtext));
        field("Password", row.field(Password));
        field("Notes", row.field(Info));
        if (!row.field(HINT).isEmpty())
            field("Hint", row.field(HINT));
        if (!row.field(Key1_Name).isEmpty())
            field(row.field(Key1_Name).toString(), row.field(Key1));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
}

struct ProcessRun
{
    double wallMs = 0;
    double peakMb = 0;
    int lines = 0;
    bool ok = false;
};

// Runs a program with input on its standard input, reads its output to the end and waits for it.
ProcessRun measure(const QString& program, const QStringList& arguments, const QByteArray& input)
{
    QList<QByteArray> argv8{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        argv8 << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& argument : argv8)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    const double start = nowMs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (spawned == 0)
        (void)!::write(in[1], input.constData(), size_t(input.size()));
    ::close(in[1]);
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(out[0], buffer, sizeof buffer)) > 0)
        run.lines += int(std::count(buffer, buffer + got, '\n'));
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid)
        return {};
    run.wallMs = nowMs() - start;
    run.peakMb = double(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

const Vaults& vaults()
{
    static const Vaults made = [] {
        Vaults v;
        v.lockwell = bench::scratch().filePath(QStringLiteral("vault.lwd"));
        v.keepass = bench::scratch().filePath(QStringLiteral("vault.kdbx"));
        v.keepassCli = QStandardPaths::findExecutable(QStringLiteral("keepassxc-cli"));
        bench::makeDataFiles(bench::scratch().filePath(QStringLiteral("plain.lwd")), v.lockwell,
                             dataFilePasswordOf(SecretText(QString::fromLatin1(kMaster))), kRecords, kSeed);
        // Lockwell's key derivation: opening the file with its password, the median of five.
        std::vector<double> opens;
        for (int i = 0; i < 5; ++i) {
            const double start = nowMs();
            SqlCipherDatabase::open(v.lockwell, dataFilePasswordOf(SecretText(QString::fromLatin1(kMaster))));
            opens.push_back(nowMs() - start);
        }
        v.keyDerivationMs = median(opens);
        if (v.keepassCli.isEmpty())
            return v;
        const QString xml = bench::scratch().filePath(QStringLiteral("vault.xml"));
        writeKeePassXml(xml);
        const ProcessRun import =
            measure(v.keepassCli, {"import", "-p", "-t", QString::number(qRound(v.keyDerivationMs)), xml, v.keepass},
                    kMaster + '\n' + kMaster + '\n');
        if (!import.ok)
            v.keepass.clear();
        return v;
    }();
    return made;
}

void BM_Ls_LockwellCli_vs_KeePassXCCli(benchmark::State& state)
{
    const Vaults& v = vaults();
    if (v.keepassCli.isEmpty() || v.keepass.isEmpty()) {
        state.SkipWithError("keepassxc-cli is not installed or could not import the records");
        return;
    }
    std::vector<double> lockwellMs, keepassMs;
    double lockwellMb = 0, keepassMb = 0;
    bool lockwellFirst = true;
    for (auto _ : state) {
        ProcessRun lockwell, keepass;
        const auto runLockwell = [&] {
            lockwell = measure(QStringLiteral(LW_CLI), {"ls", v.lockwell}, kMaster + '\n');
        };
        const auto runKeepass = [&] { keepass = measure(v.keepassCli, {"ls", "-R", "-f", v.keepass}, kMaster + '\n'); };
        if (lockwellFirst) {
            runLockwell();
            runKeepass();
        } else {
            runKeepass();
            runLockwell();
        }
        lockwellFirst = !lockwellFirst;
        if (!lockwell.ok || !keepass.ok || lockwell.lines != kRecords || keepass.lines < kRecords) {
            state.SkipWithError("a listing failed or did not list every record");
            return;
        }
        lockwellMs.push_back(lockwell.wallMs);
        keepassMs.push_back(keepass.wallMs);
        lockwellMb = std::max(lockwellMb, lockwell.peakMb);
        keepassMb = std::max(keepassMb, keepass.peakMb);
    }
    state.counters["key_derivation_ms"] = v.keyDerivationMs;
    state.counters["lockwell_ms"] = median(lockwellMs);
    state.counters["keepassxc_ms"] = median(keepassMs);
    state.counters["wall_ratio"] = median(lockwellMs) / median(keepassMs);
    state.counters["lockwell_MB"] = lockwellMb;
    state.counters["keepassxc_MB"] = keepassMb;
    state.counters["rss_ratio"] = lockwellMb / keepassMb;
}
BENCHMARK(BM_Ls_LockwellCli_vs_KeePassXCCli)->Iterations(11)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
