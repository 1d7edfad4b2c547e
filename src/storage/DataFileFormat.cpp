#include "storage/DataFileFormat.h"

#include "errortrap/Bulwark.h"

#include <QString>

namespace DataFileFormat {

int columnIndex(QLatin1String name)
{
    BW_TRACE("DataFileFormat.cpp", "Function columnIndex");
    for (int i = 0; i < ColumnCount; ++i) {
        if (name.compare(QLatin1String(kColumnNames[size_t(i)]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int columnIndex(const QString& name)
{
    BW_TRACE("DataFileFormat.cpp", "Function columnIndex");
    for (int i = 0; i < ColumnCount; ++i) {
        if (name.compare(QLatin1String(kColumnNames[size_t(i)]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace DataFileFormat
