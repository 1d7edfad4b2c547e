#pragma once
// The local system information report shown by the error report dialog and the About box.
//
// The report is built in two steps: the facts are gathered from Linux (the /proc and /sys files, uname, Qt's
// screen, printer and storage information), then laid out as text. An empty text or an empty optional means
// that the system does not give that value; the layout shows it as "<Unknown>".
#include <QList>
#include <QString>
#include <optional>

class ProcSources;

struct ProcessFacts
{
    QString moduleName; // the process's command name
    qint64 pid = 0;
    std::optional<int> threads;
    QString fullPath; // the executable; empty when it cannot be read (another user's process)
};

struct DriveFacts
{
    QString mountPoint;
    QString type;   // the file system
    QString device; // what is mounted
};

struct SystemFacts
{
    QString computerName;

    // Application
    QString title;
    QString path;
    QString projectVersion;
    bool oleServer = false;
    std::optional<bool> previousInstance;
    QString exeName;
    QString exeTimeStamp;
    std::optional<qint64> exeSize;

    // Operating system
    QString osVersion;
    QString build;
    QString servicePack; // empty: none installed
    QString debugKernel;
    QString language;
    QString systemFolder; // the program's system data folder (Linux has no Windows directory)
    QString currentPath;

    // Memory, in bytes
    std::optional<qint64> totalPhysical;
    std::optional<qint64> availablePhysical;
    std::optional<qint64> virtualMemory;
    std::optional<qint64> availableVirtual;

    // Processor
    QString cpu;
    std::optional<int> cpuCount;

    QString printer;

    // Ports
    QString serialDriver;
    QString comPorts[4];

    // Network
    QString networkDriver;
    QString networkDescription;

    // Video
    QString videoDriver;
    QString videoDescription;
    std::optional<int> colorDepth; // bits per pixel
    int screenWidth = 0;           // 0: no screen
    int screenHeight = 0;

    // Mouse and keyboard
    std::optional<bool> mousePresent;
    QString mouseDriver;
    QString mouseDescription;
    QString keyboardDriver;
    QString keyboardDescription;

    // Drives
    std::optional<int> floppies;
    std::optional<int> disks;
    QList<DriveFacts> drives;

    // The processes running at the time of the error
    QList<ProcessFacts> processes;
};

namespace SysInfo {
// What the report shows for a value the system does not give.
inline const QString kUnknown = QStringLiteral("<Unknown>");

// "   " + label, filled with dots to 23 columns; the value follows directly.
QString dotted(const QString& label);
// 1234567 -> "1,234,567"; negative amounts keep their sign.
QString grouped(qint64 amount);
// A percentage with two decimals: 42.1666 -> "42.17".
QString percent(double value);
} // namespace SysInfo

// Lays the facts out as the report's text, lines separated by CR LF.
QString systemInfoReportText(const SystemFacts& facts);

// Gathers the facts of this computer and this process; `sources` reads the Linux files.
SystemFacts gatherSystemFacts(const ProcSources& sources);
SystemFacts gatherSystemFacts();

// The report of this computer, now.
QString systemInfoReport();
