#include "exchange/CsvExport.h"

#include "errortrap/Bulwark.h"
#include "exchange/CsvWriter.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/WorkFolder.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr char kModule[] = "CsvExport.cpp";
}

QByteArray exportCsv(const std::vector<AccountRow>& rows)
{
    BW_TRACE(kModule, "Function exportCsv");
    QByteArray out;
    QStringList header;
    for (const char* name : DataFileFormat::kColumnNames)
        header.append(QLatin1String(name));
    Csv::appendLine(out, header);
    QList<QStringView> fields(DataFileFormat::ColumnCount);
    for (const AccountRow& row : rows) {
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
            fields[column] = row.field(column);
        Csv::appendLine(out, fields);
    }
    return out;
}

void writePrivateFile(const QString& path, const QByteArray& data)
{
    BW_TRACE(kModule, "Sub writePrivateFile");
    WorkFolder work(path);
    const QString temporary = work.filePath(QStringLiteral("export.csv"));
    FileSafety::createPrivateFile(temporary);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush())
        throw RuntimeError(BwErr::PathFileAccess, QStringLiteral("Cannot write the file: ") + file.errorString());
    file.close();
    FileSafety::syncFile(temporary);
    FileSafety::replaceWithRename(temporary, path, FileSafety::Permissions::OwnerOnly);
}
