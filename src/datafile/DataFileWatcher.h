#pragma once
// Notices when another program changes the data file the window shows: a commit by another process (the
// command-line tool, a second window) or another file renamed into its place (a sync tool, a restore).
// The window's own writes are not changes: the engine counts only other connections' commits. Its own
// compactions open a new record set, which re-arms the watch on the file as it then is.
//
// A change is reported once the file has been quiet for a moment, and only while no edit is pending and
// the window says it is ready (no dialog up); otherwise the watcher looks again a little later.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class DataControl;

class DataFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DataFileWatcher(DataControl& control, QObject* parent = nullptr);

    // Asked before a change is reported; a change waits while it answers false.
    void setReadyTest(std::function<bool()> ready) { m_ready = std::move(ready); }

Q_SIGNALS:
    // The open data file changed on disk. replaced: another file stands at its path now, and the open
    // connection still reads the one that was there.
    void changedOnDisk(bool replaced);

private:
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator!=(const Identity& other) const { return device != other.device || inode != other.inode; }
    };
    static Identity identityOf(const QString& path);

    void arm();
    void watchFiles();
    void look();
    bool editPending() const;

    DataControl& m_control;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::function<bool()> m_ready;
    QString m_path;
    Identity m_identity;
    qint64 m_dataVersion = -1;
};
