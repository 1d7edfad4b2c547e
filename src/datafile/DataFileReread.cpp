#include "datafile/DataFileReread.h"

#include "app/ProgramSettings.h"
#include "datafile/DataFileCommands.h"
#include "datafile/DataFileHost.h"
#include "errortrap/Bulwark.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

void rereadDataFile(DataFileCommands& files, DataFileHost& host, bool replaced)
{
    BW_TRACE("DataFileReread.cpp", "Sub rereadDataFile");
    DataControl& control = host.dataControl();
    const auto before = control.recordset();
    if (!before || !before->hasActiveConnection() || control.connection().dataSource() != Options.DBpath)
        return;
    const QString sort = before->sort();
    const QString filter = before->filter();
    const qint64 currentId = before->rowIdAt(before->currentRow());

    // The open connection reads the file that was replaced: a new one opens the file at the path.
    if (replaced)
        control.setConnection(ConnectionText());
    if (!files.connection().DBconnect(files.openPassword))
        return;

    Recordset& records = *control.recordset();
    if (records.sort() != sort)
        records.setSort(sort);
    if (filter != QLatin1String("0")) {
        records.setFilter(filter);
        host.setStatusPanel(1, QString::number(records.recordCount()) + QStringLiteral(" Accounts found."));
    }
    for (int row = 0; row < records.rowCount(); ++row) {
        if (records.rowIdAt(row) == currentId) {
            records.moveToRow(row);
            break;
        }
    }
    host.DisplayInfo();
}
