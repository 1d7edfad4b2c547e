#pragma once
// Reads what Linux tells about the machine from its own files: /proc, /sys, /etc/os-release and /dev.
// Everything is read below a root folder ("/" normally) so that tests can offer a made-up system.
// Nothing here throws: a file that cannot be read gives an empty text, an empty list or no value.
#include "errorreport/SystemInfoReport.h"

#include <QString>
#include <QStringList>
#include <optional>

// One input device from /proc/bus/input/devices.
struct InputDeviceFacts
{
    QString name;     // "Logitech USB Optical Mouse"
    QString bus;      // "USB", "PS/2", ... (or the bus number in hex when it has no common name)
    QString handlers; // "mouse0 event3"
    bool isMouse = false;
    bool isKeyboard = false;
};

class ProcSources
{
public:
    explicit ProcSources(const QString& root = QStringLiteral("/"));

    // Raw access, paths relative to the root ("proc/meminfo").
    QString text(const QString& path) const;
    QString linkTarget(const QString& path) const;
    QStringList names(const QString& folder) const;
    bool exists(const QString& path) const;

    // An amount of /proc/meminfo ("MemTotal") in bytes.
    std::optional<qint64> memInfoBytes(const QString& key) const;
    // "model name" of the first processor, else its "Hardware" or "cpu" line.
    QString cpuModel() const;
    // Processors listed by /proc/cpuinfo.
    std::optional<int> cpuCount() const;
    // PRETTY_NAME of etc/os-release (or usr/lib/os-release).
    QString osPrettyName() const;

    // User-space processes (kernel threads left out), in process id order.
    QList<ProcessFacts> processes() const;

    // Input devices; no value when the kernel does not list them.
    std::optional<QList<InputDeviceFacts>> inputDevices() const;

    // The serial driver's name from /proc/tty/drivers, and the device of serial port n (1 to 4) when present.
    QString serialDriver() const;
    QString serialPort(int n) const;

    // Network interfaces other than loopback: the first one's driver ("eth0: e1000e") and all of them with
    // their state ("eth0 (up), wlan0 (down)").
    QString networkDriver() const;
    QString networkDescription() const;

    // Block devices: floppy drives, and disks (loop, RAM and floppy devices left out).
    std::optional<int> floppyCount() const;
    std::optional<int> diskCount() const;

private:
    QString pathOf(const QString& relative) const;
    QStringList networkInterfaces() const;

    QString m_root;
};
