#include "desktop/MimeDefaults.h"

#include "desktop/DesktopEntry.h"
#include "errortrap/Bulwark.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {
// The ids listed for mimeType under [group] in an association file, in order.
QStringList idsInGroup(const QString& file, const QString& group, const QString& mimeType)
{
    BW_TRACE("MimeDefaults.cpp", "Function idsInGroup");
    QStringList ids;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return ids;
    QTextStream stream(&in);
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq < 0 || line.left(eq).trimmed() != mimeType)
            continue;
        for (const QString& id : line.mid(eq + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            ids << id.trimmed();
    }
    return ids;
}

// Every mimeapps.list, in the order they count: per folder, the desktop-specific files first.
QStringList mimeappsFiles()
{
    BW_TRACE("MimeDefaults.cpp", "Function mimeappsFiles");
    QStringList desktops;
    for (const QString& desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops << desktop.toLower();
    QStringList folders = desktopentry::configDirs();
    for (const QString& dataDir : desktopentry::dataDirs())
        folders << dataDir + QStringLiteral("/applications");
    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktop : desktops)
            files << folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        files << folder + QStringLiteral("/mimeapps.list");
    }
    return files;
}
} // namespace

namespace mimedefaults {

QStringList associatedDesktopIds(const QString& mimeType)
{
    BW_TRACE("MimeDefaults.cpp", "Function associatedDesktopIds");
    const QStringList files = mimeappsFiles();
    QStringList ids;
    for (const QString& file : files)
        ids << idsInGroup(file, QStringLiteral("Default Applications"), mimeType);
    for (const QString& file : files)
        ids << idsInGroup(file, QStringLiteral("Added Associations"), mimeType);
    for (const QString& dataDir : desktopentry::dataDirs())
        ids << idsInGroup(dataDir + QStringLiteral("/applications/defaults.list"),
                          QStringLiteral("Default Applications"), mimeType);
    for (const QString& dataDir : desktopentry::dataDirs())
        ids << idsInGroup(dataDir + QStringLiteral("/applications/mimeinfo.cache"), QStringLiteral("MIME Cache"),
                          mimeType);
    ids.removeDuplicates();
    return ids;
}

QString xdgMimeDefault(const QString& mimeType)
{
    BW_TRACE("MimeDefaults.cpp", "Function xdgMimeDefault");
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return QString();
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return QString();
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return QString();
    const QString answer = QString::fromLocal8Bit(query.readAllStandardOutput());
    return answer.section(QLatin1Char('\n'), 0, 0).trimmed();
}

QString defaultDesktopFile(const QString& mimeType)
{
    BW_TRACE("MimeDefaults.cpp", "Function defaultDesktopFile");
    QStringList ids;
    const QString fromXdgMime = xdgMimeDefault(mimeType);
    if (!fromXdgMime.isEmpty())
        ids << fromXdgMime;
    ids << associatedDesktopIds(mimeType);
    for (const QString& id : ids) {
        const QString file = desktopentry::findDesktopFile(id);
        if (file.isEmpty())
            continue;
        const LaunchCommand command = desktopentry::readLaunchCommand(file);
        if (command.isValid() && !command.resolvedProgram().isEmpty())
            return file;
    }
    return QString();
}

} // namespace mimedefaults
