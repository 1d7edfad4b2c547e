#pragma once
// Small system helpers: the temporary folder, fresh temporary files, cutting strings at a zero character,
// and the state of Caps Lock.
#include <QString>

// The temporary folder ($TMPDIR, else /tmp), always ending in "/".
QString GetTempDir();

// Makes a temporary file name in folder (the temporary folder when folder is empty) starting with prefix.
// With unique 0 the name is new and the file is created empty, readable and writable by the user only;
// otherwise the name is prefix + unique in hexadecimal + ".tmp" and no file is created. Returns false, with
// name emptied, when no name could be made (no such folder, a prefix holding "/", the file not created).
bool GetTempFile(const QString& folder, const QString& prefix, unsigned int unique, QString& name);

// A new empty user-only file in the temporary folder; its path, or "" when none could be created.
QString GetTempFile(const QString& prefix = QStringLiteral("lwd"));

// The string up to its first zero character (all of it when it has none).
QString TrimNull(const QString& s);
// The same cut, for names handed back by the system.
QString StripTerminator(const QString& s);

// True while the Caps Lock toggle is on, whether or not the key is held down. On X11 the keyboard is
// asked; elsewhere the letters typed into the watched password boxes tell (CapsLockFromTyping.h), and
// before any has been typed the answer is false.
bool CapsLockOn();
