// The system information report: its layout (dotted labels, grouping, <Unknown>), the reading of Linux's own
// files from a made-up system, and the report of the machine the test runs on.
#include "errorreport/ProcSources.h"
#include "errorreport/SystemInfoReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList linesOf(const QString& report)
{
    return report.split(QStringLiteral("\r\n"));
}

QString lineStartingWith(const QString& report, const QString& label)
{
    for (const QString& line : linesOf(report)) {
        if (line.startsWith(label))
            return line;
    }
    return QStringLiteral("<no line %1>").arg(label);
}

void write(const QString& root, const QString& path, const QByteArray& content)
{
    const QString full = root + QLatin1Char('/') + path;
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void link(const QString& root, const QString& path, const QString& target)
{
    const QString full = root + QLatin1Char('/') + path;
    QDir().mkpath(QFileInfo(full).path());
    QVERIFY(QFile::link(target, full));
}

SystemFacts sampleFacts()
{
    SystemFacts f;
    f.computerName = QStringLiteral("desk7");
    f.title = QStringLiteral("Lockwell");
    f.path = QStringLiteral("/usr/bin");
    f.projectVersion = QStringLiteral("1.2.3");
    f.previousInstance = false;
    f.exeName = QStringLiteral("lockwell");
    f.exeTimeStamp = QStringLiteral("2025-01-31 14:02:11");
    f.exeSize = 1234567;
    f.osVersion = QStringLiteral("Linux 6.1.0 (Debian GNU/Linux 12 (bookworm))");
    f.totalPhysical = qint64(8) << 30;
    f.availablePhysical = qint64(2) << 30;
    f.colorDepth = 24;
    f.screenWidth = 1920;
    f.screenHeight = 1080;
    f.mousePresent = true;
    f.floppies = 0;
    f.disks = 2;
    f.drives = {DriveFacts{QStringLiteral("/home"), QStringLiteral("ext4"), QStringLiteral("/dev/sda2")}};
    f.processes = {ProcessFacts{QStringLiteral("bash"), 1234, 1, QStringLiteral("/usr/bin/bash")},
                   ProcessFacts{QStringLiteral("gvfsd"), 77, std::nullopt, QString()}};
    return f;
}
} // namespace

class TestSystemInfoReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Sections in order; labels of three blanks and dots that end in column 23, with the value right after.
    void layoutOfAFullReport()
    {
        const QString report = systemInfoReportText(sampleFacts());
        QVERIFY(report.endsWith(QStringLiteral("\r\n")));
        QVERIFY(!report.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
        QCOMPARE(linesOf(report).first(), QStringLiteral("Application running on computer desk7"));

        int previous = -1;
        for (const char* title : {"Application", "Operating System", "Memory Information", "Processor", "Printer",
                                  "Ports", "Network", "General Video Information", "Mouse", "Keyboard", "Drives"}) {
            const int at = linesOf(report).indexOf(QLatin1String(title));
            QVERIFY2(at > previous, title);
            previous = at;
        }

        static const QRegularExpression dottedLine(QStringLiteral("^   [A-Za-z][A-Za-z0-9 ]*\\.{2,}"));
        int dotted = 0;
        for (const QString& line : linesOf(report)) {
            const auto match = dottedLine.match(line);
            if (!match.hasMatch() || line.startsWith(QLatin1String("   Windows Version")))
                continue;
            ++dotted;
            QVERIFY2(match.capturedLength() == 23, qPrintable(line));
        }
        QVERIFY(dotted > 40);

        // Amounts grouped by thousands, percentages with two decimals, a label that fills its column.
        for (const char* expected : {"   OLE Server..........NO", "  EXE Size............1,234,567 bytes",
                                     "   Windows Version......Linux 6.1.0 (Debian GNU/Linux 12 (bookworm))",
                                     "   Service Pack........<none installed>", "   Total Physical......8,589,934,592",
                                     "   Pct Physical Free...25.00", "   Colors..............16,777,216 (24 bits)",
                                     "   Screen size.........1920 X 1080", "   Drive /home ext4 (/dev/sda2)"}) {
            const QString line = QString::fromUtf8(expected);
            QCOMPARE(lineStartingWith(report, line.left(line.indexOf(QLatin1String("..")))), line);
        }
    }

    void processListIsFramedAndComplete()
    {
        const QStringList lines = linesOf(systemInfoReportText(sampleFacts()));
        const int head = lines.indexOf(QStringLiteral("/// Processes Running Concurrently with  ///"));
        QVERIFY(head > 0);
        QCOMPARE(lines.at(head + 1), QStringLiteral("/// lockwell at Time of Error            ///"));
        QVERIFY(lines.at(head - 1).contains(QRegularExpression(QStringLiteral("^/{20,}$"))));
        const QStringList expected = {
            QStringLiteral("   Module Name.........bash"),
            QStringLiteral("   Process ID..........0x000004D2"),
            QStringLiteral("   Thread Count........1"),
            QStringLiteral("   Full Path.........../usr/bin/bash"),
            QString(),
            QStringLiteral("   Module Name.........gvfsd"),
            QStringLiteral("   Process ID..........0x0000004D"),
            QStringLiteral("   Thread Count........<Unknown>"),
            QStringLiteral("   Full Path...........<Unknown>"),
        };
        QCOMPARE(lines.mid(head + 4, expected.size()), expected);
    }

    // Whatever the system does not tell shows as <Unknown>; nothing is left blank.
    void missingValuesShowUnknown()
    {
        const QString report = systemInfoReportText(SystemFacts());
        for (const QString& line : linesOf(report)) {
            if (!line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1String("   Drive ")))
                continue;
            if (line.contains(QLatin1String("OLE Server")))
                QVERIFY(line.endsWith(QLatin1String("NO")));
            else if (line.contains(QLatin1String("Service Pack")))
                QVERIFY(line.endsWith(QLatin1String("<none installed>")));
            else
                QVERIFY2(line.endsWith(QLatin1String("<Unknown>")), qPrintable(line));
        }
        // Half-known memory: no percentage can be worked out, and none is made up.
        SystemFacts half;
        half.totalPhysical = 0;
        half.availablePhysical = 0;
        QCOMPARE(lineStartingWith(systemInfoReportText(half), QStringLiteral("   Pct Physical Free")),
                 QStringLiteral("   Pct Physical Free...<Unknown>"));

        // A system whose files cannot be read gives no values rather than wrong ones.
        QTemporaryDir root;
        const ProcSources sources(root.path());
        QCOMPARE(sources.memInfoBytes(QStringLiteral("MemTotal")), std::nullopt);
        QCOMPARE(sources.cpuCount(), std::nullopt);
        QCOMPARE(sources.inputDevices(), std::nullopt);
        QCOMPARE(sources.floppyCount(), std::nullopt);
        QVERIFY(sources.processes().isEmpty());
        const SystemFacts facts = gatherSystemFacts(sources);
        QCOMPARE(facts.mousePresent, std::nullopt);
        QCOMPARE(lineStartingWith(systemInfoReportText(facts), QStringLiteral("   Total Physical")),
                 QStringLiteral("   Total Physical......<Unknown>"));
    }

    // A made-up Linux: each source read as the kernel writes it, and the oddities left out.
    void readsLinuxSources()
    {
        QTemporaryDir root;
        const QString r = root.path();
        write(r, "proc/meminfo",
              "MemTotal:        8000000 kB\nMemFree:         1000000 kB\nMemAvailable:    "
              "2000000 kB\nSwapTotal:       1000 kB\nSwapFree:        500 kB\n");
        write(r, "proc/cpuinfo",
              "processor\t: 0\nmodel name\t: Test CPU @ 3.00GHz\n\nprocessor\t: 1\nmodel name\t: "
              "Test CPU @ 3.00GHz\n\nprocessor\t: 2\n");
        write(r, "etc/os-release", "NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
        write(r, "proc/42/cmdline", QByteArray("/usr/bin/editor\0--new", 21));
        write(r, "proc/42/comm", "editor\n");
        write(r, "proc/42/status", "Name:\teditor\nThreads:\t7\n");
        link(r, "proc/42/exe", QStringLiteral("/usr/bin/editor"));
        write(r, "proc/7/cmdline", "");
        write(r, "proc/7/comm", "kworker/0:1\n");
        write(r, "proc/self/comm", "me\n");
        write(r, "proc/bus/input/devices",
              "I: Bus=0019 Vendor=0000 Product=0001 Version=0000\nN: Name=\"Power Button\"\n"
              "H: Handlers=kbd event0 \nB: EV=3\n\n"
              "I: Bus=0011 Vendor=0001 Product=0001 Version=ab41\nN: Name=\"AT Translated Set 2 keyboard\"\n"
              "H: Handlers=sysrq kbd event1 leds \nB: EV=120013\n\n"
              "I: Bus=0003 Vendor=046d Product=c077 Version=0111\nN: Name=\"Logitech USB Optical Mouse\"\n"
              "H: Handlers=mouse0 event2 \nB: EV=17\n");
        write(r, "proc/tty/drivers",
              "/dev/tty             /dev/tty        5       0 system:/dev/tty\n"
              "serial               /dev/ttyS       4 64-111 serial\n");
        write(r, "dev/ttyS0", "");
        write(r, "dev/ttyS1", "");
        write(r, "sys/class/net/lo/operstate", "unknown\n");
        write(r, "sys/class/net/eth0/operstate", "up\n");
        link(r, "sys/class/net/eth0/device/driver", QStringLiteral("../../../bus/pci/drivers/e1000e"));
        write(r, "sys/class/net/wg0/operstate", "down\n");
        for (const char* block : {"fd0", "sda", "nvme0n1", "loop0", "zram0"})
            write(r, QStringLiteral("sys/block/%1/size").arg(QLatin1String(block)), "0\n");

        const ProcSources sources(r);
        QCOMPARE(sources.memInfoBytes(QStringLiteral("MemTotal")), std::optional<qint64>(8000000LL * 1024));
        QCOMPARE(sources.memInfoBytes(QStringLiteral("Mem")), std::nullopt);
        QCOMPARE(sources.cpuModel(), QStringLiteral("Test CPU @ 3.00GHz"));
        QCOMPARE(sources.cpuCount(), std::optional<int>(3));
        QCOMPARE(sources.osPrettyName(), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
        QCOMPARE(sources.serialDriver(), QStringLiteral("serial"));
        QCOMPARE(sources.serialPort(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(sources.serialPort(3), QString());
        QCOMPARE(sources.networkDriver(), QStringLiteral("eth0: e1000e"));
        QCOMPARE(sources.networkDescription(), QStringLiteral("eth0 (up), wg0 (down)"));
        QCOMPARE(sources.floppyCount(), std::optional<int>(1));
        QCOMPARE(sources.diskCount(), std::optional<int>(2));

        const QList<ProcessFacts> processes = sources.processes();
        QCOMPARE(processes.size(), 1); // the kernel thread and "self" are not processes of the list
        QCOMPARE(processes.first().pid, 42);
        QCOMPARE(processes.first().moduleName, QStringLiteral("editor"));
        QCOMPARE(processes.first().threads, std::optional<int>(7));
        QCOMPARE(processes.first().fullPath, QStringLiteral("/usr/bin/editor"));

        const SystemFacts facts = gatherSystemFacts(sources);
        QCOMPARE(facts.mousePresent, std::optional<bool>(true));
        QCOMPARE(facts.mouseDescription, QStringLiteral("Logitech USB Optical Mouse"));
        QCOMPARE(facts.mouseDriver, QStringLiteral("USB: mouse0 event2"));
        QCOMPARE(facts.keyboardDescription, QStringLiteral("AT Translated Set 2 keyboard")); // not the power button
        QCOMPARE(facts.keyboardDriver, QStringLiteral("PS/2: sysrq kbd event1 leds"));
        QCOMPARE(facts.availablePhysical, std::optional<qint64>(2000000LL * 1024));
        QCOMPARE(facts.virtualMemory, std::optional<qint64>((8000000LL + 1000) * 1024));
        QCOMPARE(facts.availableVirtual, std::optional<qint64>((2000000LL + 500) * 1024));
        QVERIFY(facts.osVersion.endsWith(QLatin1String("(Debian GNU/Linux 12 (bookworm))")));
    }

    // The real machine: this process is in the list, under its own name and id.
    void reportOfThisMachineListsThisProcess()
    {
        const QString report = systemInfoReport();
        const QString pid =
            QString::number(QCoreApplication::applicationPid(), 16).toUpper().rightJustified(8, QLatin1Char('0'));
        const QStringList lines = linesOf(report);
        const int at = lines.indexOf(QStringLiteral("   Process ID..........0x") + pid);
        QVERIFY(at > 0);
        QCOMPARE(lines.at(at - 1), QStringLiteral("   Module Name.........") +
                                       QCoreApplication::applicationName().left(15)); // the kernel keeps 15
        QCOMPARE(lines.at(at + 2), QStringLiteral("   Full Path...........") +
                                       QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
        QVERIFY(lineStartingWith(report, QStringLiteral("   Number of CPUs")).contains(QRegularExpression("\\.\\d+$")));
        QVERIFY(lineStartingWith(report, QStringLiteral("   Total Physical"))
                    .contains(QRegularExpression(QStringLiteral("\\.\\d{1,3}(,\\d{3})+$"))));
    }
};

QTEST_MAIN(TestSystemInfoReport)
#include "test_SystemInfoReport.moc"
