#include "errortrap/CircularLog.h"

#include <QFile>

namespace {
constexpr QFile::Permissions kUserOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr char kHeader[] = "HM100";
constexpr qint64 kHeaderSize = sizeof(kHeader) - 1;
} // namespace

bool CircularLog::open(const QString& path, int recordSize, int maxRecords)
{
    close();
    if (recordSize <= 0 || maxRecords <= 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite, kUserOnly) || file.write(kHeader, kHeaderSize) != kHeaderSize)
        return false;
    m_path = path;
    m_recordSize = recordSize;
    m_maxRecords = maxRecords;
    m_record = 0;
    m_open = true;
    return true;
}

void CircularLog::close()
{
    m_open = false;
    m_path.clear();
    m_record = 0;
}

bool CircularLog::write(const QString& line)
{
    if (!m_open || m_maxRecords <= 0)
        return false;
    m_record = m_record >= m_maxRecords ? 1 : m_record + 1;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite, kUserOnly) || !file.seek(recordOffset(m_record, m_recordSize)))
        return false;
    const QByteArray bytes = record(line, m_recordSize);
    return file.write(bytes) == bytes.size();
}

QByteArray CircularLog::record(const QString& line, int recordSize)
{
    if (recordSize <= 0)
        return QByteArray();
    const int textSize = recordSize > 2 ? recordSize - 2 : recordSize;
    QByteArray bytes = line.toLatin1().left(textSize);
    bytes.append(textSize - bytes.size(), ' ');
    if (textSize < recordSize)
        bytes.append("\r\n");
    return bytes;
}
