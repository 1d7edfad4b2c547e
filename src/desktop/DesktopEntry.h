#pragma once
// Desktop entry files (".desktop"): where an application's entry lives and how it is started.
#include <QString>
#include <QStringList>

// A command that takes one address: program, its arguments, and where the address goes among them.
struct LaunchCommand
{
    QString program;       // as written; resolve with resolvedProgram()
    QStringList arguments; // the arguments, without the address
    int addressAt = 0;     // index in arguments where the address is inserted
    bool isValid() const { return !program.isEmpty(); }
    // The full argument list with the address in its place, unchanged.
    QStringList argumentsWith(const QString& address) const;
    // The program's absolute path: as written when it holds a "/", else found on PATH; "" when not found.
    QString resolvedProgram() const;
};

namespace desktopentry {
// Splits a command line the way desktop entries quote it: blanks separate arguments; inside double quotes
// a backslash escapes '"', '`', '$' and '\'. Returns false for an unterminated quote.
bool splitCommandLine(const QString& commandLine, QStringList& arguments);

// The folders searched for data, most important first: $XDG_DATA_HOME, then each of $XDG_DATA_DIRS.
QStringList dataDirs();
// The folders searched for configuration, most important first: $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS.
QStringList configDirs();

// The file of a desktop file id ("firefox.desktop") in the applications folders; "" when none. An id with
// "-" may also name a subfolder ("kde-foo.desktop" is kde/foo.desktop).
QString findDesktopFile(const QString& desktopId);

// The command of a desktop entry file for opening one address; invalid when the file cannot be read, has
// no Exec line, or is marked Hidden. Field codes %u %U %f %F mark the address's place (at the end when
// there is none); %c, %k and %i are filled in; other codes are dropped; "%%" is "%".
LaunchCommand readLaunchCommand(const QString& desktopFile);
} // namespace desktopentry
