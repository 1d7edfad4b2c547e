#pragma once
// Lockwell's own lock on a data file, beside the engine's: every connection of ours holds it shared for as
// long as it is open, and replacing the file (compaction in place, a new file over an old one) holds it
// exclusively from the first read of the old file to the rename of the new one. So a file is never
// replaced under another Lockwell that has it open, and two Lockwells closing the same file at once take
// turns instead of writing over each other.
//
// The lock is flock(2) on the file itself (a link is followed), which the engine's own byte-range locks
// never see.
#include <QString>

class DataFileLock
{
public:
    enum class Mode { Shared, Exclusive };

    // How long a lock waits for another Lockwell: long enough for its compaction to finish.
    static constexpr int kWaitMs = 5000;

    DataFileLock() = default; // holds nothing
    ~DataFileLock();
    DataFileLock(DataFileLock&& other) noexcept;
    DataFileLock& operator=(DataFileLock&& other) noexcept;
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Locks the file at path, waiting up to waitMs while another process holds a lock that is in the way;
    // then raises Busy (5). When the file at path was replaced while we waited, the new file is the one
    // locked. A file that cannot be opened raises the system's error.
    static DataFileLock lock(const QString& path, Mode mode, int waitMs = kWaitMs);

    bool isHeld() const { return m_fd >= 0; }
    void release();

private:
    explicit DataFileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};
