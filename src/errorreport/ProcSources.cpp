#include "errorreport/ProcSources.h"

#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {
constexpr const char* kModule = "ProcSources.cpp";
// The largest file read whole: /proc files are small; this keeps a strange one from costing much.
constexpr qint64 kMaxRead = 1 << 20;
// EV_REP in an input device's event bits: keys that repeat, which only real keyboards have.
constexpr qulonglong kRepeatingKeys = 1ULL << 20;

QString valueAfterColon(const QString& line)
{
    const int colon = line.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : line.mid(colon + 1).trimmed();
}

QString busName(const QString& hex)
{
    bool ok = false;
    const int bus = hex.toInt(&ok, 16);
    if (!ok)
        return QString();
    switch (bus) {
    case 0x03:
        return QStringLiteral("USB");
    case 0x05:
        return QStringLiteral("Bluetooth");
    case 0x06:
        return QStringLiteral("Virtual");
    case 0x11:
        return QStringLiteral("PS/2");
    case 0x18:
        return QStringLiteral("I2C");
    case 0x19:
        return QStringLiteral("Platform");
    default:
        return QStringLiteral("Bus ") + hex;
    }
}

InputDeviceFacts parseInputDevice(const QStringList& lines)
{
    BW_TRACE(kModule, "Function parseInputDevice");
    InputDeviceFacts device;
    qulonglong events = 0;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("N: Name="))) {
            device.name = line.mid(8).trimmed();
            if (device.name.size() >= 2 && device.name.startsWith(QLatin1Char('"')) &&
                device.name.endsWith(QLatin1Char('"')))
                device.name = device.name.mid(1, device.name.size() - 2);
        } else if (line.startsWith(QLatin1String("I: "))) {
            static const QRegularExpression busField(QStringLiteral("Bus=([0-9A-Fa-f]+)"));
            const auto match = busField.match(line);
            if (match.hasMatch())
                device.bus = busName(match.captured(1));
        } else if (line.startsWith(QLatin1String("H: Handlers="))) {
            device.handlers = line.mid(12).simplified();
        } else if (line.startsWith(QLatin1String("B: EV="))) {
            events = line.mid(6).trimmed().toULongLong(nullptr, 16);
        }
    }
    const QStringList handlers = device.handlers.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    device.isMouse = std::any_of(handlers.begin(), handlers.end(),
                                 [](const QString& h) { return h.startsWith(QLatin1String("mouse")); });
    device.isKeyboard = handlers.contains(QLatin1String("kbd")) && (events & kRepeatingKeys) != 0;
    return device;
}
} // namespace

ProcSources::ProcSources(const QString& root) : m_root(root)
{
    BW_TRACE(kModule, "Sub Class_Initialize");
    if (!m_root.endsWith(QLatin1Char('/')))
        m_root += QLatin1Char('/');
}

QString ProcSources::pathOf(const QString& relative) const
{
    return m_root + relative;
}

QString ProcSources::text(const QString& path) const
{
    BW_TRACE(kModule, "Function text");
    QFile file(pathOf(path));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // /proc files report a size of 0, so read to the end rather than by size.
    return QString::fromUtf8(file.read(kMaxRead));
}

QString ProcSources::linkTarget(const QString& path) const
{
    BW_TRACE(kModule, "Function linkTarget");
    return QFileInfo(pathOf(path)).symLinkTarget();
}

QStringList ProcSources::names(const QString& folder) const
{
    BW_TRACE(kModule, "Function names");
    return QDir(pathOf(folder)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool ProcSources::exists(const QString& path) const
{
    BW_TRACE(kModule, "Function exists");
    return QFileInfo::exists(pathOf(path));
}

std::optional<qint64> ProcSources::memInfoBytes(const QString& key) const
{
    BW_TRACE(kModule, "Function memInfoBytes");
    const QStringList lines = text(QStringLiteral("proc/meminfo")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!line.startsWith(key + QLatin1Char(':')))
            continue;
        const QStringList parts = valueAfterColon(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        const qint64 amount = parts.value(0).toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        const bool inKilobytes = parts.value(1).compare(QLatin1String("kB"), Qt::CaseInsensitive) == 0;
        return inKilobytes ? amount * 1024 : amount;
    }
    return std::nullopt;
}

QString ProcSources::cpuModel() const
{
    BW_TRACE(kModule, "Function cpuModel");
    const QStringList lines = text(QStringLiteral("proc/cpuinfo")).split(QLatin1Char('\n'));
    // x86 names the model per processor; ARM names the board once; POWER names the chip per processor.
    for (const char* key : {"model name", "Hardware", "cpu"}) {
        for (const QString& line : lines) {
            if (line.section(QLatin1Char(':'), 0, 0).trimmed() == QLatin1String(key)) {
                const QString value = valueAfterColon(line);
                if (!value.isEmpty())
                    return value;
            }
        }
    }
    return QString();
}

std::optional<int> ProcSources::cpuCount() const
{
    BW_TRACE(kModule, "Function cpuCount");
    const QStringList lines = text(QStringLiteral("proc/cpuinfo")).split(QLatin1Char('\n'));
    const auto count = std::count_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.section(QLatin1Char(':'), 0, 0).trimmed() == QLatin1String("processor");
    });
    return count > 0 ? std::optional<int>(static_cast<int>(count)) : std::nullopt;
}

QString ProcSources::osPrettyName() const
{
    BW_TRACE(kModule, "Function osPrettyName");
    for (const char* file : {"etc/os-release", "usr/lib/os-release"}) {
        const QStringList lines = text(QLatin1String(file)).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (!line.startsWith(QLatin1String("PRETTY_NAME=")))
                continue;
            QString value = line.mid(12).trimmed();
            if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''))) &&
                value.endsWith(value.at(0)))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return QString();
}

QList<ProcessFacts> ProcSources::processes() const
{
    BW_TRACE(kModule, "Function processes");
    QList<ProcessFacts> found;
    for (const QString& name : names(QStringLiteral("proc"))) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString folder = QStringLiteral("proc/") + name + QLatin1Char('/');
        // Kernel threads have no command line; neither does a process that has just ended.
        if (text(folder + QStringLiteral("cmdline")).isEmpty())
            continue;
        ProcessFacts process;
        process.pid = pid;
        process.moduleName = text(folder + QStringLiteral("comm")).trimmed();
        process.fullPath = linkTarget(folder + QStringLiteral("exe"));
        for (const QString& line : text(folder + QStringLiteral("status")).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("Threads:"))) {
                bool ok = false;
                const int threads = valueAfterColon(line).toInt(&ok);
                if (ok)
                    process.threads = threads;
            }
        }
        found.append(process);
    }
    std::sort(found.begin(), found.end(), [](const ProcessFacts& a, const ProcessFacts& b) { return a.pid < b.pid; });
    return found;
}

std::optional<QList<InputDeviceFacts>> ProcSources::inputDevices() const
{
    BW_TRACE(kModule, "Function inputDevices");
    if (!exists(QStringLiteral("proc/bus/input/devices")))
        return std::nullopt;
    QList<InputDeviceFacts> devices;
    QStringList block;
    const QStringList lines = text(QStringLiteral("proc/bus/input/devices")).split(QLatin1Char('\n'));
    for (const QString& line : lines + QStringList{QString()}) {
        if (line.trimmed().isEmpty()) {
            if (!block.isEmpty())
                devices.append(parseInputDevice(block));
            block.clear();
        } else {
            block.append(line);
        }
    }
    return devices;
}

QString ProcSources::serialDriver() const
{
    BW_TRACE(kModule, "Function serialDriver");
    const QStringList lines = text(QStringLiteral("proc/tty/drivers")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 2 && fields.at(1) == QLatin1String("/dev/ttyS"))
            return fields.at(0);
    }
    return QString();
}

QString ProcSources::serialPort(int n) const
{
    BW_TRACE(kModule, "Function serialPort");
    const QString device = QStringLiteral("dev/ttyS") + QString::number(n - 1);
    return exists(device) ? QLatin1Char('/') + device : QString();
}

QStringList ProcSources::networkInterfaces() const
{
    BW_TRACE(kModule, "Function networkInterfaces");
    QStringList interfaces = names(QStringLiteral("sys/class/net"));
    interfaces.removeAll(QStringLiteral("lo"));
    return interfaces;
}

QString ProcSources::networkDriver() const
{
    BW_TRACE(kModule, "Function networkDriver");
    const QStringList interfaces = networkInterfaces();
    if (interfaces.isEmpty())
        return QString();
    const QString first = interfaces.first();
    const QString driver = linkTarget(QStringLiteral("sys/class/net/") + first + QStringLiteral("/device/driver"));
    // An interface without a device behind it (a bridge, a tunnel, a container's veth) is the kernel's own.
    return first + QStringLiteral(": ") + (driver.isEmpty() ? QStringLiteral("virtual") : QFileInfo(driver).fileName());
}

QString ProcSources::networkDescription() const
{
    BW_TRACE(kModule, "Function networkDescription");
    QStringList described;
    for (const QString& name : networkInterfaces()) {
        const QString state = text(QStringLiteral("sys/class/net/") + name + QStringLiteral("/operstate")).trimmed();
        described.append(state.isEmpty() ? name : name + QStringLiteral(" (") + state + QLatin1Char(')'));
    }
    return described.join(QStringLiteral(", "));
}

std::optional<int> ProcSources::floppyCount() const
{
    BW_TRACE(kModule, "Function floppyCount");
    if (!exists(QStringLiteral("sys/block")))
        return std::nullopt;
    const QStringList blocks = names(QStringLiteral("sys/block"));
    return static_cast<int>(std::count_if(blocks.begin(), blocks.end(),
                                          [](const QString& b) { return b.startsWith(QLatin1String("fd")); }));
}

std::optional<int> ProcSources::diskCount() const
{
    BW_TRACE(kModule, "Function diskCount");
    if (!exists(QStringLiteral("sys/block")))
        return std::nullopt;
    const QStringList blocks = names(QStringLiteral("sys/block"));
    return static_cast<int>(std::count_if(blocks.begin(), blocks.end(), [](const QString& b) {
        for (const char* prefix : {"loop", "ram", "zram", "fd"}) {
            if (b.startsWith(QLatin1String(prefix)))
                return false;
        }
        return true;
    }));
}
