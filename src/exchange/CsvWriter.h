#pragma once
// Lockwell's own comma-separated text: every field in double quotes (a quote inside doubled), lines
// ending in CR LF, UTF-8 without a byte order mark. One way of writing, so the same records always give
// the same bytes.
#include <QByteArray>
#include <QStringList>
#include <QStringView>

namespace Csv {

// Appends one line of fields, its CR LF included.
void appendLine(QByteArray& out, const QList<QStringView>& fields);
void appendLine(QByteArray& out, const QStringList& fields);

} // namespace Csv
