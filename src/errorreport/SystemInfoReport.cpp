#include "errorreport/SystemInfoReport.h"

#include "errorreport/KnowledgeBase.h"
#include "errorreport/ProcSources.h"
#include "errortrap/Bulwark.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinterInfo>
#include <QScreen>
#include <QStorageInfo>
#include <QSysInfo>
#include <sys/utsname.h>
#include <unistd.h>

namespace {
constexpr const char* kModule = "SystemInfoReport.cpp";
constexpr int kLabelColumns = 20; // label and dots, after the three leading blanks
const QString kCrLf = QStringLiteral("\r\n");

QString orUnknown(const QString& value)
{
    return value.isEmpty() ? SysInfo::kUnknown : value;
}

QString yesNo(std::optional<bool> value)
{
    if (!value)
        return SysInfo::kUnknown;
    return *value ? QStringLiteral("YES") : QStringLiteral("NO");
}

QString number(std::optional<int> value)
{
    return value ? QString::number(*value) : SysInfo::kUnknown;
}

QString amount(std::optional<qint64> value)
{
    return value ? SysInfo::grouped(*value) : SysInfo::kUnknown;
}

// The report's lines, joined with CR LF at the end.
class ReportLines
{
public:
    void line(const QString& text) { m_lines.append(text); }
    void field(const QString& label, const QString& value) { m_lines.append(label + value); }
    void section(const QString& title)
    {
        m_lines.append(QString());
        m_lines.append(title);
    }
    QString text() const { return m_lines.join(kCrLf) + kCrLf; }

private:
    QStringList m_lines;
};

void addApplication(ReportLines& out, const SystemFacts& f)
{
    BW_TRACE(kModule, "Sub addApplication");
    out.line(QStringLiteral("Application running on computer ") + orUnknown(f.computerName));
    out.section(QStringLiteral("Application"));
    out.field(QStringLiteral("   Title..............."), orUnknown(f.title));
    out.field(QStringLiteral("   Path................"), orUnknown(f.path));
    out.field(QStringLiteral("   Project Version....."), orUnknown(f.projectVersion));
    out.field(QStringLiteral("   OLE Server.........."), yesNo(f.oleServer));
    out.field(QStringLiteral("   Previous Instance..."), yesNo(f.previousInstance));
    out.field(QStringLiteral("  EXE Name............"), orUnknown(f.exeName));
    out.field(QStringLiteral("  EXE Time Stamp......"), orUnknown(f.exeTimeStamp));
    out.field(QStringLiteral("  EXE Size............"),
              f.exeSize ? SysInfo::grouped(*f.exeSize) + QStringLiteral(" bytes") : SysInfo::kUnknown);
}

void addOperatingSystem(ReportLines& out, const SystemFacts& f)
{
    BW_TRACE(kModule, "Sub addOperatingSystem");
    out.section(QStringLiteral("Operating System"));
    out.field(QStringLiteral("   Windows Version......"), orUnknown(f.osVersion));
    out.field(QStringLiteral("   Build..............."), orUnknown(f.build));
    out.field(QStringLiteral("   Service Pack........"),
              f.servicePack.isEmpty() ? QStringLiteral("<none installed>") : f.servicePack);
    out.field(QStringLiteral("   Debug Kernel........"), orUnknown(f.debugKernel));
    out.field(QStringLiteral("   Language............"), orUnknown(f.language));
    out.field(QStringLiteral("   Windows Directory..."), orUnknown(f.systemFolder));
    out.field(QStringLiteral("   Current Path........"), orUnknown(f.currentPath));
}

void addMemory(ReportLines& out, const SystemFacts& f)
{
    BW_TRACE(kModule, "Sub addMemory");
    out.section(QStringLiteral("Memory Information"));
    out.field(QStringLiteral("   Total Physical......"), amount(f.totalPhysical));
    out.field(QStringLiteral("   Available Physical.."), amount(f.availablePhysical));
    out.field(QStringLiteral("   Virtual Memory......"), amount(f.virtualMemory));
    out.field(QStringLiteral("   Available Virtual..."), amount(f.availableVirtual));
    const bool canDivide = f.totalPhysical && f.availablePhysical && *f.totalPhysical > 0;
    out.field(QStringLiteral("   Pct Physical Free..."),
              canDivide ? SysInfo::percent(100.0 * static_cast<double>(*f.availablePhysical) /
                                           static_cast<double>(*f.totalPhysical))
                        : SysInfo::kUnknown);
}

void addDevices(ReportLines& out, const SystemFacts& f)
{
    BW_TRACE(kModule, "Sub addDevices");
    out.section(QStringLiteral("Processor"));
    out.field(QStringLiteral("   CPU................."), orUnknown(f.cpu));
    out.field(QStringLiteral("   Number of CPUs......"), number(f.cpuCount));

    out.section(QStringLiteral("Printer"));
    out.field(QStringLiteral("   Description........."), orUnknown(f.printer));

    out.section(QStringLiteral("Ports"));
    out.field(QStringLiteral("   Serial Driver......."), orUnknown(f.serialDriver));
    for (int port = 0; port < 4; ++port)
        out.field(SysInfo::dotted(QStringLiteral("Com") + QString::number(port + 1)), orUnknown(f.comPorts[port]));

    out.section(QStringLiteral("Network"));
    out.field(QStringLiteral("   Driver.............."), orUnknown(f.networkDriver));
    out.field(QStringLiteral("   Description........."), orUnknown(f.networkDescription));

    out.section(QStringLiteral("General Video Information"));
    out.field(QStringLiteral("   Driver.............."), orUnknown(f.videoDriver));
    out.field(QStringLiteral("   Description........."), orUnknown(f.videoDescription));
    QString colors = SysInfo::kUnknown;
    if (f.colorDepth && *f.colorDepth > 0) {
        // Beyond 24 bits the extra bits are transparency, not more colours.
        const int colorBits = qMin(*f.colorDepth, 24);
        colors = SysInfo::grouped(qint64(1) << colorBits) + QStringLiteral(" (") + QString::number(*f.colorDepth) +
                 QStringLiteral(" bits)");
    }
    out.field(QStringLiteral("   Colors.............."), colors);
    out.field(QStringLiteral("   Screen size........."),
              f.screenWidth > 0 && f.screenHeight > 0
                  ? QString::number(f.screenWidth) + QStringLiteral(" X ") + QString::number(f.screenHeight)
                  : SysInfo::kUnknown);

    out.section(QStringLiteral("Mouse"));
    out.field(QStringLiteral("   Mouse Present......."), yesNo(f.mousePresent));
    out.field(QStringLiteral("   Driver.............."), orUnknown(f.mouseDriver));
    out.field(QStringLiteral("   Description........."), orUnknown(f.mouseDescription));

    out.section(QStringLiteral("Keyboard"));
    out.field(QStringLiteral("   Driver.............."), orUnknown(f.keyboardDriver));
    out.field(QStringLiteral("   Description........."), orUnknown(f.keyboardDescription));

    out.section(QStringLiteral("Drives"));
    out.field(QStringLiteral("   Floppies............"), number(f.floppies));
    out.field(QStringLiteral("   Disks..............."), number(f.disks));
    for (const DriveFacts& drive : f.drives) {
        QString line = QStringLiteral("   Drive ") + drive.mountPoint + QLatin1Char(' ') + orUnknown(drive.type);
        if (!drive.device.isEmpty())
            line += QStringLiteral(" (") + drive.device + QLatin1Char(')');
        out.line(line);
    }
}

void addProcesses(ReportLines& out, const SystemFacts& f)
{
    BW_TRACE(kModule, "Sub addProcesses");
    const QString head = QStringLiteral("/// Processes Running Concurrently with  ///");
    const QString name = QStringLiteral("/// ") + (f.exeName.isEmpty() ? f.title : f.exeName) +
                         QStringLiteral(" at Time of Error            ///");
    const QString bar(qMax(head.size(), name.size()), QLatin1Char('/'));
    out.line(QString());
    out.line(bar);
    out.line(head);
    out.line(name);
    out.line(bar);
    for (const ProcessFacts& process : f.processes) {
        out.line(QString());
        out.field(QStringLiteral("   Module Name........."), orUnknown(process.moduleName));
        out.field(QStringLiteral("   Process ID..........0x"),
                  QString::number(process.pid, 16).toUpper().rightJustified(8, QLatin1Char('0')));
        out.field(QStringLiteral("   Thread Count........"), number(process.threads));
        out.field(QStringLiteral("   Full Path..........."), orUnknown(process.fullPath));
    }
}
} // namespace

QString SysInfo::dotted(const QString& label)
{
    return QStringLiteral("   ") + label.leftJustified(kLabelColumns, QLatin1Char('.'), true);
}

QString SysInfo::grouped(qint64 amount)
{
    BW_TRACE(kModule, "Function grouped");
    const QString digits = QString::number(amount < 0 ? -amount : amount);
    QString out;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    return amount < 0 ? QLatin1Char('-') + out : out;
}

QString SysInfo::percent(double value)
{
    return QString::number(value, 'f', 2);
}

QString systemInfoReportText(const SystemFacts& facts)
{
    BW_TRACE(kModule, "Function systemInfoReportText");
    ReportLines out;
    addApplication(out, facts);
    addOperatingSystem(out, facts);
    addMemory(out, facts);
    addDevices(out, facts);
    addProcesses(out, facts);
    return out.text();
}

namespace {
void gatherApplication(SystemFacts& f, const QList<ProcessFacts>& processes)
{
    BW_TRACE(kModule, "Sub gatherApplication");
    f.title = QCoreApplication::applicationName();
    f.path = QCoreApplication::applicationDirPath();
    f.projectVersion = QCoreApplication::applicationVersion();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    if (exe.exists()) {
        f.exeName = exe.fileName();
        f.exeTimeStamp = exe.lastModified().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        f.exeSize = exe.size();
        const qint64 self = QCoreApplication::applicationPid();
        const QString path = exe.canonicalFilePath();
        f.previousInstance = std::any_of(processes.begin(), processes.end(), [&](const ProcessFacts& p) {
            return p.pid != self && !p.fullPath.isEmpty() && p.fullPath == path;
        });
    }
}

void gatherOperatingSystem(SystemFacts& f, const ProcSources& sources)
{
    BW_TRACE(kModule, "Sub gatherOperatingSystem");
    struct utsname names = {};
    if (uname(&names) == 0) {
        f.computerName = QString::fromLocal8Bit(names.nodename);
        f.osVersion = QString::fromLocal8Bit(names.sysname) + QLatin1Char(' ') + QString::fromLocal8Bit(names.release);
        f.build = QString::fromLocal8Bit(names.version);
    }
    if (f.computerName.isEmpty())
        f.computerName = QSysInfo::machineHostName();
    const QString distribution = sources.osPrettyName();
    if (!distribution.isEmpty())
        f.osVersion = f.osVersion.isEmpty() ? distribution : f.osVersion + QStringLiteral(" (") + distribution + ')';
    const QLocale locale = QLocale::system();
    f.language = locale.name() + QStringLiteral(" (") + QLocale::languageToString(locale.language()) + ')';
    f.systemFolder = KnowledgeBase::systemFolder();
    f.currentPath = QDir::currentPath();
}

void gatherMemory(SystemFacts& f, const ProcSources& sources)
{
    BW_TRACE(kModule, "Sub gatherMemory");
    f.totalPhysical = sources.memInfoBytes(QStringLiteral("MemTotal"));
    f.availablePhysical = sources.memInfoBytes(QStringLiteral("MemAvailable"));
    if (!f.availablePhysical)
        f.availablePhysical = sources.memInfoBytes(QStringLiteral("MemFree"));
    // Virtual memory: what the system can hand out, physical memory and swap together.
    const auto swapTotal = sources.memInfoBytes(QStringLiteral("SwapTotal"));
    const auto swapFree = sources.memInfoBytes(QStringLiteral("SwapFree"));
    if (f.totalPhysical)
        f.virtualMemory = *f.totalPhysical + swapTotal.value_or(0);
    if (f.availablePhysical)
        f.availableVirtual = *f.availablePhysical + swapFree.value_or(0);
}

void gatherDevices(SystemFacts& f, const ProcSources& sources)
{
    BW_TRACE(kModule, "Sub gatherDevices");
    f.cpu = sources.cpuModel();
    if (f.cpu.isEmpty())
        f.cpu = QSysInfo::currentCpuArchitecture();
    f.cpuCount = sources.cpuCount();
    if (!f.cpuCount) {
        const long online = sysconf(_SC_NPROCESSORS_ONLN);
        if (online > 0)
            f.cpuCount = static_cast<int>(online);
    }

    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull())
        f.printer = printer.description().isEmpty() ? printer.printerName() : printer.description();

    f.serialDriver = sources.serialDriver();
    for (int port = 0; port < 4; ++port)
        f.comPorts[port] = sources.serialPort(port + 1);
    f.networkDriver = sources.networkDriver();
    f.networkDescription = sources.networkDescription();

    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        f.videoDriver = QGuiApplication::platformName();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QStringList description{screen->manufacturer(), screen->model(), screen->name()};
            description.removeAll(QString());
            f.videoDescription = description.join(QLatin1Char(' '));
            f.colorDepth = screen->depth();
            f.screenWidth = screen->size().width();
            f.screenHeight = screen->size().height();
        }
    }

    if (const auto devices = sources.inputDevices()) {
        f.mousePresent = false;
        for (const InputDeviceFacts& device : *devices) {
            const QString driver = device.bus.isEmpty() ? device.handlers : device.bus + ": " + device.handlers;
            if (device.isMouse && !*f.mousePresent) {
                f.mousePresent = true;
                f.mouseDriver = driver;
                f.mouseDescription = device.name;
            }
            if (device.isKeyboard && f.keyboardDescription.isEmpty()) {
                f.keyboardDriver = driver;
                f.keyboardDescription = device.name;
            }
        }
    }

    f.floppies = sources.floppyCount();
    f.disks = sources.diskCount();
    static const QStringList kNotDrives = {QStringLiteral("tmpfs"), QStringLiteral("devtmpfs"),
                                           QStringLiteral("squashfs"), QStringLiteral("ramfs")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString type = QString::fromUtf8(volume.fileSystemType());
        if (!volume.isValid() || kNotDrives.contains(type))
            continue;
        f.drives.append(DriveFacts{volume.rootPath(), type, QString::fromUtf8(volume.device())});
    }
}
} // namespace

SystemFacts gatherSystemFacts(const ProcSources& sources)
{
    BW_TRACE(kModule, "Function gatherSystemFacts");
    SystemFacts facts;
    facts.processes = sources.processes();
    gatherApplication(facts, facts.processes);
    gatherOperatingSystem(facts, sources);
    gatherMemory(facts, sources);
    gatherDevices(facts, sources);
    return facts;
}

SystemFacts gatherSystemFacts()
{
    BW_TRACE(kModule, "Function gatherSystemFacts");
    return gatherSystemFacts(ProcSources());
}

QString systemInfoReport()
{
    BW_TRACE(kModule, "Function systemInfoReport");
    return systemInfoReportText(gatherSystemFacts());
}
