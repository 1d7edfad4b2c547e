#pragma once
// Comma-separated text as RFC 4180 writes it: fields in double quotes may hold commas, line breaks and
// doubled quotes; lines end in CR LF or LF; a UTF-8 byte order mark at the start is skipped. What no
// password export can be (a NUL byte, text that is not UTF-8, an unclosed quote, a field or a line
// beyond the limits below) is refused with one line that says what and where, never with the data.
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace Csv {

// Far beyond what any password export holds, and small enough that hostile input costs little memory.
constexpr qsizetype kMaxFieldChars = 1 << 20; // 1 MB of text in one field
constexpr int kMaxColumns = 1000;

struct Table
{
    QList<QStringList> rows;
    QList<int> lines; // the line of the file each row starts on, from 1
    QString error;    // empty when the whole text was read
    bool ok() const { return error.isEmpty(); }
};

Table parse(QByteArrayView data);

// No password export comes near this; a bigger file is not one.
constexpr qint64 kMaxFileBytes = 64 << 20;

// Reads a file to import into data. Returns why it cannot be, in a few words ("no such file", ...), or
// nothing when data holds the whole file.
QString readFile(const QString& path, QByteArray& data);

} // namespace Csv
