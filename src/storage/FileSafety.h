#pragma once
// File operations that a crash cannot leave half done, for data files and their work files. Every
// file made here is readable and writable by its owner only. Failures raise a RuntimeError.
#include <QString>

namespace FileSafety {

// Creates an empty file that must not exist yet.
void createPrivateFile(const QString& path);

// Forces a file's contents, or a folder's entries, to the disk.
void syncFile(const QString& path);
void syncFolder(const QString& folder);

// Puts a copy of source in target's place in one step: the copy is written beside target, synced and
// renamed over it, then the folder is synced. At any instant target is the old file or the new one.
void replaceAtomically(const QString& source, const QString& target);

// The name of the copy that replaceAtomically() writes beside target (left only by a crash).
QString replacementName(const QString& target);

// Removes a file; true when it is gone (or was never there).
bool removeFile(const QString& path);

} // namespace FileSafety
