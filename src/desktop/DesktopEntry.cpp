#include "desktop/DesktopEntry.h"

#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace {
QStringList pathList(const char* variable, const QString& fallback)
{
    BW_TRACE("DesktopEntry.cpp", "Function pathList");
    QString value = qEnvironmentVariable(variable);
    if (value.isEmpty())
        value = fallback;
    QStringList dirs;
    for (const QString& dir : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs << QDir::cleanPath(dir);
    return dirs;
}

QString homeDir(const char* variable, const QString& underHome)
{
    BW_TRACE("DesktopEntry.cpp", "Function homeDir");
    const QString value = qEnvironmentVariable(variable);
    return QDir::cleanPath(value.isEmpty() ? QDir::homePath() + underHome : value);
}

// The escapes of a desktop entry's string values: \s \n \t \r \\.
QString unescapeValue(const QString& value)
{
    BW_TRACE("DesktopEntry.cpp", "Function unescapeValue");
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default: // not a value escape: keep it for the command-line quoting
            out += c;
            out += next;
        }
    }
    return out;
}

struct EntryKeys
{
    QString exec, name, icon;
    bool hidden = false;
};

bool readEntryKeys(const QString& file, EntryKeys& keys)
{
    BW_TRACE("DesktopEntry.cpp", "Function readEntryKeys");
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream stream(&in);
    bool inMainGroup = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || line.startsWith(QLatin1Char('#')) || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (key == QLatin1String("Exec"))
            keys.exec = value;
        else if (key == QLatin1String("Name"))
            keys.name = value;
        else if (key == QLatin1String("Icon"))
            keys.icon = value;
        else if (key == QLatin1String("Hidden"))
            keys.hidden = value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    return true;
}

// Expands the field codes of one Exec argument into command; returns true when the argument was a code
// that marks where the address goes.
bool expandFieldCodes(const QString& argument, const EntryKeys& keys, const QString& file, LaunchCommand& command)
{
    BW_TRACE("DesktopEntry.cpp", "Function expandFieldCodes");
    static const QStringList addressCodes = {QStringLiteral("%u"), QStringLiteral("%U"), QStringLiteral("%f"),
                                             QStringLiteral("%F")};
    if (addressCodes.contains(argument))
        return true;
    if (argument == QLatin1String("%i")) {
        if (!keys.icon.isEmpty())
            command.arguments << QStringLiteral("--icon") << keys.icon;
        return false;
    }
    QString out;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument.at(i) != QLatin1Char('%') || i + 1 == argument.size()) {
            out += argument.at(i);
            continue;
        }
        const QChar code = argument.at(++i);
        if (code == QLatin1Char('%'))
            out += QLatin1Char('%');
        else if (code == QLatin1Char('c'))
            out += keys.name;
        else if (code == QLatin1Char('k'))
            out += file;
        // any other code (including an address code inside a longer argument) is dropped
    }
    if (!out.isEmpty() || argument.isEmpty())
        command.arguments << out;
    return false;
}
} // namespace

QStringList LaunchCommand::argumentsWith(const QString& address) const
{
    BW_TRACE("DesktopEntry.cpp", "Function argumentsWith");
    QStringList all = arguments;
    all.insert(qBound(0, addressAt, int(all.size())), address);
    return all;
}

QString LaunchCommand::resolvedProgram() const
{
    BW_TRACE("DesktopEntry.cpp", "Function resolvedProgram");
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

namespace desktopentry {

bool splitCommandLine(const QString& commandLine, QStringList& arguments)
{
    BW_TRACE("DesktopEntry.cpp", "Function splitCommandLine");
    arguments.clear();
    QString current;
    bool inArgument = false, quoted = false;
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < commandLine.size() &&
                       QStringLiteral("\"`$\\").contains(commandLine.at(i + 1))) {
                current += commandLine.at(++i);
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = inArgument = true;
        } else if (c.isSpace()) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << current;
    return !quoted;
}

QStringList dataDirs()
{
    BW_TRACE("DesktopEntry.cpp", "Function dataDirs");
    return QStringList{homeDir("XDG_DATA_HOME", QStringLiteral("/.local/share"))} +
           pathList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

QStringList configDirs()
{
    BW_TRACE("DesktopEntry.cpp", "Function configDirs");
    return QStringList{homeDir("XDG_CONFIG_HOME", QStringLiteral("/.config"))} +
           pathList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QString findDesktopFile(const QString& desktopId)
{
    BW_TRACE("DesktopEntry.cpp", "Function findDesktopFile");
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')) || desktopId.startsWith(QLatin1Char('.')))
        return QString();
    // "a-b-c.desktop" may be a-b-c.desktop, a/b-c.desktop or a/b/c.desktop.
    QStringList relative{desktopId};
    QString candidate = desktopId;
    for (qsizetype dash = candidate.indexOf(QLatin1Char('-')); dash > 0;
         dash = candidate.indexOf(QLatin1Char('-'), dash + 1)) {
        candidate[dash] = QLatin1Char('/');
        relative << candidate;
    }
    for (const QString& dir : dataDirs()) {
        for (const QString& name : relative) {
            const QString path = dir + QStringLiteral("/applications/") + name;
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return QString();
}

LaunchCommand readLaunchCommand(const QString& desktopFile)
{
    BW_TRACE("DesktopEntry.cpp", "Function readLaunchCommand");
    LaunchCommand command;
    EntryKeys keys;
    QStringList words;
    if (!readEntryKeys(desktopFile, keys) || keys.hidden || !splitCommandLine(keys.exec, words) || words.isEmpty())
        return command;
    command.program = words.takeFirst();
    int addressAt = -1;
    for (const QString& word : words) {
        if (expandFieldCodes(word, keys, desktopFile, command) && addressAt < 0)
            addressAt = int(command.arguments.size());
    }
    command.addressAt = addressAt < 0 ? int(command.arguments.size()) : addressAt;
    return command;
}

} // namespace desktopentry
