#include "storage/DataFileProbe.h"

#include "errortrap/Bulwark.h"
#include "storage/DataFileFormat.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Writable by us and not marked read-only: the permission bits are honoured even for an administrator,
// whom the system would let write anyway.
bool canWrite(const QByteArray& path, mode_t mode)
{
    return ::access(path.constData(), W_OK) == 0 && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}
} // namespace

DataFileProbe DataFileProbe::inspect(const QString& path)
{
    BW_TRACE("DataFileProbe.cpp", "Function inspect");
    DataFileProbe probe;
    const QByteArray native = QFile::encodeName(path);
    struct stat st
    {
    };
    if (path.isEmpty() || ::stat(native.constData(), &st) != 0)
        return probe;
    if (!S_ISREG(st.st_mode)) {
        probe.kind = DataFileKind::NotRegular;
        return probe;
    }
    probe.size = qint64(st.st_size);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat folderStat
    {
    };
    probe.writable = canWrite(native, st.st_mode) && ::stat(folder.constData(), &folderStat) == 0 &&
                     canWrite(folder, folderStat.st_mode);

    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        probe.kind = DataFileKind::Unreadable;
        return probe;
    }
    char head[DataFileFormat::kPlainHeaderSize] = {};
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);

    if (probe.size == 0)
        probe.kind = DataFileKind::Empty;
    else if (got == sizeof head && std::memcmp(head, DataFileFormat::kPlainHeader, sizeof head) == 0)
        probe.kind = DataFileKind::Plain;
    else if (probe.size % DataFileFormat::kPageSize == 0)
        probe.kind = DataFileKind::Encrypted;
    else
        probe.kind = DataFileKind::WrongSize;
    return probe;
}

bool dataFileExists(const QString& path)
{
    BW_TRACE("DataFileProbe.cpp", "Function dataFileExists");
    struct stat st
    {
    };
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}
