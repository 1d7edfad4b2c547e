#include "errortrap/BwFiles.h"

#include "errortrap/BwSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr QFile::Permissions kUserOnly = QFile::ReadOwner | QFile::WriteOwner;

QString named(const QString& folder, const QString& name, const QString& fallback)
{
    return BwFiles::resolve(folder, name.isEmpty() ? fallback : name);
}

bool openForAppend(QFile& file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Append, kUserOnly);
}
} // namespace

QString BwFiles::resolve(const QString& folder, const QString& name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(QDir(folder).filePath(path));
}

QString BwFiles::logFolderFor(const QString& programFolder)
{
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable())
        return programFolder;
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = state + QStringLiteral("/lockwell");
    if (QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString BwFiles::errorLogPath(const QString& folder, const BwSettings& settings)
{
    return named(folder, settings.logFileName, QStringLiteral("bwError.log"));
}

QString BwFiles::captureLogPath(const QString& folder, const BwSettings& settings)
{
    return named(folder, settings.logFileName, QStringLiteral("error.log"));
}

QString BwFiles::circularLogPath(const QString& folder, const BwSettings& settings)
{
    return named(folder, settings.circularFileName, QStringLiteral("circ0001.log"));
}

QString BwFiles::previousLogPath(const QString& path)
{
    return path + QStringLiteral(".1");
}

bool BwFiles::append(const QString& path, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const QFileInfo existing(path);
    if (existing.isFile() && existing.size() > 0 && existing.size() + bytes.size() > kLogFileLimit) {
        const QString previous = previousLogPath(path);
        QFile::remove(previous);
        QFile::rename(path, previous); // should this fail, the file simply grows on
    }
    QFile file(path);
    if (!openForAppend(file))
        return false;
    return file.write(bytes) == bytes.size();
}

bool BwFiles::probe(const QString& path)
{
    QFile file(path);
    return openForAppend(file);
}
