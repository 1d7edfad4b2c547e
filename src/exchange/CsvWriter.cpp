#include "exchange/CsvWriter.h"

namespace Csv {

void appendLine(QByteArray& out, const QList<QStringView>& fields)
{
    bool first = true;
    for (QStringView field : fields) {
        if (!first)
            out += ',';
        first = false;
        out += '"';
        const QByteArray bytes = field.toUtf8();
        if (bytes.contains('"'))
            out += QByteArray(bytes).replace("\"", "\"\"");
        else
            out += bytes;
        out += '"';
    }
    out += "\r\n";
}

void appendLine(QByteArray& out, const QStringList& fields)
{
    QList<QStringView> views;
    views.reserve(fields.size());
    for (const QString& field : fields)
        views.append(field);
    appendLine(out, views);
}

} // namespace Csv
