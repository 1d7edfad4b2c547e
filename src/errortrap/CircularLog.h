#pragma once
// The circular log: the text "HM100" at the start of the file, then a ring of MaxRecords records of RecordSize
// bytes from byte 513 (counting from 1). Each line overwrites the oldest record; the file is closed after
// every record, so what was written survives a crash.
#include <QByteArray>
#include <QString>

class CircularLog
{
public:
    static constexpr qint64 kFirstRecordOffset = 512; // byte 513 counting from 1

    // Opens the ring in `path` (created when missing) and writes the header; the next line goes to record 1.
    // False, and the ring stays closed, when the file cannot be opened.
    bool open(const QString& path, int recordSize, int maxRecords);
    void close();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // A smaller ring continues from record 1 once the index is past its end.
    void setMaxRecords(int maxRecords) { m_maxRecords = maxRecords; }

    // Writes `line` as the next record; false when the write failed (the record index still advances).
    bool write(const QString& line);

    int lastRecord() const { return m_record; }

    // Byte offset (from 0) of record k (from 1).
    static qint64 recordOffset(int k, int recordSize) { return qint64(k - 1) * recordSize + kFirstRecordOffset; }

    // The line cut or filled with blanks to the record size, its last two bytes CR LF so that each record
    // reads as one line; characters outside Latin-1 become '?'.
    static QByteArray record(const QString& line, int recordSize);

private:
    QString m_path;
    int m_recordSize = 0;
    int m_maxRecords = 0;
    int m_record = 0;
    bool m_open = false;
};
