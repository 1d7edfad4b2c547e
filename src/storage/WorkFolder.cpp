#include "storage/WorkFolder.h"

#include "storage/EngineError.h"
#include "storage/FileSafety.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace {
constexpr char kModule[] = "WorkFolder.cpp";
}

WorkFolder::WorkFolder(const QString& besideFile)
{
    BW_TRACE(kModule, "Sub WorkFolder");
    // mkdtemp makes a new folder under a name nobody has, mode 0700.
    QByteArray pattern = QFile::encodeName(QFileInfo(FileSafety::resolvedPath(besideFile)).absolutePath() +
                                           QStringLiteral("/.lockwell-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        throw systemError(errno, QStringLiteral("Cannot make a work folder beside the data file"));
    m_path = QFile::decodeName(pattern);
}

WorkFolder::~WorkFolder()
{
    BW_TRACE(kModule, "Sub ~WorkFolder");
    for (const QString& name : std::as_const(m_names))
        FileSafety::removeFile(m_path + QLatin1Char('/') + name);
    ::rmdir(QFile::encodeName(m_path).constData());
}

QString WorkFolder::filePath(const QString& name)
{
    BW_TRACE(kModule, "Function filePath");
    m_names.append(name);
    return m_path + QLatin1Char('/') + name;
}
