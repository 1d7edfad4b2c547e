#include "datafile/DataFileWatcher.h"

#include "errortrap/Bulwark.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {
constexpr char kModule[] = "DataFileWatcher.cpp";
// A writer's burst of changes (the log, then the file) settles within this time.
constexpr int kSettleMs = 200;
// How often a change waiting for a pending edit or a dialog looks again.
constexpr int kRetryMs = 1000;
} // namespace

DataFileWatcher::DataFileWatcher(DataControl& control, QObject* parent) : QObject(parent), m_control(control)
{
    BW_TRACE(kModule, "Sub DataFileWatcher");
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &DataFileWatcher::look);
    const auto settle = [this] { m_settle.start(kSettleMs); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, settle);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, settle);
    connect(&m_control, &DataControl::recordsetChanged, this, &DataFileWatcher::arm);
}

DataFileWatcher::Identity DataFileWatcher::identityOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

void DataFileWatcher::arm()
{
    BW_TRACE(kModule, "Sub arm");
    m_path.clear();
    m_settle.stop();
    if (m_control.isDataFileOpen()) {
        try {
            m_dataVersion = m_control.dataVersion();
            m_path = m_control.connection().dataSource();
            m_identity = identityOf(m_path);
        } catch (const RuntimeError&) {
            m_path.clear(); // the file cannot be asked now: nothing to compare with
        }
    }
    watchFiles();
}

void DataFileWatcher::watchFiles()
{
    BW_TRACE(kModule, "Sub watchFiles");
    // A watch follows the file it was set on: renewed, it is on the file that stands at the path now.
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (m_path.isEmpty())
        return;
    QStringList paths{m_path, QFileInfo(m_path).absolutePath()};
    // Another process's commits land in the write-ahead log first.
    const QString log = m_path + QStringLiteral("-wal");
    if (QFileInfo::exists(log))
        paths << log;
    m_watcher.addPaths(paths);
}

bool DataFileWatcher::editPending() const
{
    const auto records = m_control.recordset();
    return records && records->editMode() != Recordset::EditNone;
}

void DataFileWatcher::look()
{
    BW_TRACE(kModule, "Sub look");
    if (m_path.isEmpty() || !m_control.isDataFileOpen())
        return;
    const Identity now = identityOf(m_path);
    if (now.inode == 0)
        return; // nothing at the path (yet): the folder's watch tells when something is there again
    const bool replaced = now != m_identity;
    qint64 version = m_dataVersion;
    try {
        if (!replaced)
            version = m_control.dataVersion();
    } catch (const RuntimeError&) {
        m_settle.start(kRetryMs); // busy: another writer is at it
        return;
    }
    if (!replaced && version == m_dataVersion) {
        watchFiles(); // the log may have come or gone
        return;
    }
    if (editPending() || (m_ready && !m_ready())) {
        m_settle.start(kRetryMs);
        return;
    }
    // Reported once: the receiver reads the file again, which re-arms the watch.
    m_identity = now;
    m_dataVersion = version;
    Q_EMIT changedOnDisk(replaced);
}
