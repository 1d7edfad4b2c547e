#pragma once
// Looks at a file before the engine is let near it. The engine would take a 0-byte file for a new,
// empty database and cannot tell a wrong password from a file that is not a data file at all, so the
// size and the first bytes decide what kind of file this is.
#include <QString>

enum class DataFileKind {
    Missing,    // nothing at the path
    NotRegular, // a folder, a device, a socket...
    Unreadable, // the file's permissions keep us out
    Empty,      // 0 bytes
    WrongSize,  // neither a plain database nor a whole number of encrypted pages
    Plain,      // an unencrypted database (opens without a password)
    Encrypted   // a whole number of encrypted pages: a data file, or random bytes of that size
};

struct DataFileProbe
{
    DataFileKind kind = DataFileKind::Missing;
    qint64 size = 0;
    bool writable = false; // the file and its folder can be written

    static DataFileProbe inspect(const QString& path);
};

// True when a regular file (or a link to one) exists at path.
bool dataFileExists(const QString& path);
