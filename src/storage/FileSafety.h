#pragma once
// File operations that a crash cannot leave half done, for data files and their work files. Every
// file made here is readable and writable by its owner only. Failures raise a RuntimeError.
#include <QString>

namespace FileSafety {

// Creates an empty file that must not exist yet (never through a link left in its place).
void createPrivateFile(const QString& path);

// Forces a file's contents, or a folder's entries, to the disk.
void syncFile(const QString& path);
void syncFolder(const QString& folder);

// Puts source, a finished and synced file on the same file system, in target's place with one rename:
// at any instant target is the old file or the new one, whole. When target is a link, the file it points
// to is replaced and the link stays. The new file takes the old one's permissions, or is its owner's
// only. Never copies: a source on another file system is refused.
enum class Permissions { KeepTarget, OwnerOnly };
void replaceWithRename(const QString& source, const QString& target, Permissions permissions = Permissions::KeepTarget);

// Removes a file; true when it is gone (or was never there).
bool removeFile(const QString& path);

// The absolute path of the file that path names, links followed and "." and ".." taken out; for a file
// that does not exist, its folder's resolved path and its name. The same file always gets the same name.
QString resolvedPath(const QString& path);

} // namespace FileSafety
