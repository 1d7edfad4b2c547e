#include "exchange/CsvReader.h"

#include "errortrap/Bulwark.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
constexpr char kModule[] = "CsvReader.cpp";

QString atLine(int line, const QString& what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}

// Where a NUL byte lies, as a line number; 0 when there is none.
int nulLine(QByteArrayView data)
{
    const qsizetype at = data.indexOf('\0');
    if (at < 0)
        return 0;
    return int(data.first(at).count('\n')) + 1;
}
} // namespace

namespace Csv {

Table parse(QByteArrayView data)
{
    BW_TRACE(kModule, "Function parse");
    Table table;
    if (const int line = nulLine(data)) {
        table.error = atLine(line, QStringLiteral("a NUL byte: this is not a text file"));
        return table;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError()) {
        table.error = QStringLiteral("the file is not UTF-8 text");
        return table;
    }

    const QChar* p = text.constData();
    const QChar* const end = p + text.size();
    if (p != end && *p == QChar(0xFEFF))
        ++p;

    int line = 1;
    QStringList row;
    QString field;
    int rowLine = 1;
    bool fieldStarted = false; // the current line has something, so it is a row
    auto endField = [&]() -> bool {
        if (row.size() >= kMaxColumns) {
            table.error = atLine(rowLine, QStringLiteral("more than %1 columns").arg(kMaxColumns));
            return false;
        }
        row.append(field);
        field.clear();
        return true;
    };
    auto tooLong = [&]() { table.error = atLine(line, QStringLiteral("a field longer than 1 MB")); };

    while (p != end) {
        if (*p == QLatin1Char('"') && field.isEmpty()) {
            // A quoted field: up to the quote that is not doubled.
            const int quoteLine = line;
            ++p;
            for (;;) {
                if (p == end) {
                    table.error = atLine(quoteLine, QStringLiteral("a quoted field is not closed"));
                    return table;
                }
                if (*p == QLatin1Char('"')) {
                    if (p + 1 != end && p[1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                if (*p == QLatin1Char('\n'))
                    ++line;
                field += *p++;
                if (field.size() > kMaxFieldChars) {
                    tooLong();
                    return table;
                }
            }
            fieldStarted = true;
            // Text between the closing quote and the next comma or line end is kept, as most readers do.
            continue;
        }
        if (*p == QLatin1Char(',')) {
            fieldStarted = true;
            if (!endField())
                return table;
            ++p;
            continue;
        }
        if (*p == QLatin1Char('\r') || *p == QLatin1Char('\n')) {
            if (*p == QLatin1Char('\r') && p + 1 != end && p[1] == QLatin1Char('\n'))
                ++p;
            ++p;
            if (fieldStarted || !field.isEmpty()) {
                if (!endField())
                    return table;
                table.rows.append(row);
                table.lines.append(rowLine);
            }
            row.clear();
            fieldStarted = false;
            ++line;
            rowLine = line;
            continue;
        }
        field += *p++;
        if (field.size() > kMaxFieldChars) {
            tooLong();
            return table;
        }
    }
    if (fieldStarted || !field.isEmpty()) {
        if (!endField())
            return table;
        table.rows.append(row);
        table.lines.append(rowLine);
    }
    return table;
}

QString readFile(const QString& path, QByteArray& data)
{
    BW_TRACE("CsvReader.cpp", "Function readFile");
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("a folder or a device, not a CSV file");
    if (info.size() > kMaxFileBytes)
        return QStringLiteral("larger than 64 MB, not a password export");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("permission denied: the file cannot be read");
    data = file.readAll();
    return QString();
}

} // namespace Csv
