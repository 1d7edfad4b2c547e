#include "app/SettingsStore.h"

#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void accessError()
{
    throw RuntimeError(BwErr::PathFileAccess, QStringLiteral("Path/File access error"));
}

QString configFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

// Creates the folder (user-only, as a fresh configuration folder should be) and an empty file with
// mode 0600 before the first write. QSettings replaces the file through a temporary copy that keeps
// the mode of the file it replaces, so the settings are never readable by others, not even briefly.
void ensureOwnerOnlyFile(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            accessError();
        QFile::setPermissions(folder, kOwnerOnly | QFileDevice::ExeOwner);
    }
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    if (errno != EEXIST)
        accessError();
    struct stat st;
    if (::stat(native.constData(), &st) == 0 && (st.st_mode & 0077) != 0 && ::chmod(native.constData(), 0600) != 0)
        accessError();
}

} // namespace

const QString& SettingsStore::applicationName()
{
    BW_TRACE("SettingsStore.cpp", "Function applicationName");
    static const QString name = QStringLiteral("Tovane - Keyfold");
    return name;
}

QString SettingsStore::filePath()
{
    BW_TRACE("SettingsStore.cpp", "Function filePath");
    return configFolder() + QLatin1Char('/') + applicationName() + QStringLiteral(".conf");
}

QString SettingsStore::settingsKey(const QString& section, const QString& key)
{
    BW_TRACE("SettingsStore.cpp", "Function settingsKey");
    QString path = section;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + key;
}

QString SettingsStore::read(const QString& section, const QString& key, const QString& defaultText)
{
    BW_TRACE("SettingsStore.cpp", "Function read");
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return defaultText;
    QSettings settings(path, QSettings::IniFormat);
    const QVariant value = settings.value(settingsKey(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-edited value with unquoted commas is parsed by the INI reader as a list; give back the text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::write(const QString& section, const QString& key, const QString& text)
{
    BW_TRACE("SettingsStore.cpp", "Sub write");
    const QString path = filePath();
    ensureOwnerOnlyFile(path);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(settingsKey(section, key), text);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        accessError();
}
