#pragma once
// Where the trap's files live and how lines reach them. Every file the trap creates is readable by its user only.
#include <QString>

struct BwSettings;

namespace BwFiles {
// The configuration file, in the program's folder.
inline QString configFileName()
{
    return QStringLiteral("BWCLIENT.INI");
}

// Where the logs go: the program's folder when it can be written to (a build tree, a portable copy),
// otherwise the user's state folder ($XDG_STATE_HOME/lockwell, by default ~/.local/state/lockwell), since an
// installed program's folder belongs to root. The folder is created user-only when needed.
QString logFolderFor(const QString& programFolder);

// A bare name is taken in `folder`; a relative path is resolved against it; '\' counts as a separator.
QString resolve(const QString& folder, const QString& name);

// Errors go to the named log file, or to "bwError.log"; captured trace lines to the named log file, or to
// "error.log". Naming a log file therefore puts both in one file.
QString errorLogPath(const QString& folder, const BwSettings& settings);
QString captureLogPath(const QString& folder, const BwSettings& settings);
QString circularLogPath(const QString& folder, const BwSettings& settings);

// A log file is kept to this size: when the next text would take it past, the file becomes the previous
// log (previousLogPath, replacing the one before) and a new file is started. So a log never takes more than
// twice this much.
constexpr qint64 kLogFileLimit = 1024 * 1024;
QString previousLogPath(const QString& path); // path + ".1"

// Appends `text` (UTF-8) to the file, creating it when missing, after moving a full file aside as above;
// false when the file cannot be written.
bool append(const QString& path, const QString& text);

// Tests a log file name: creates the file when it does not exist yet; true when it can be opened for appending.
bool probe(const QString& path);
} // namespace BwFiles
