#include "storage/AccountRow.h"

#include "errortrap/Bulwark.h"

void AccountRow::setField(int column, QStringView value)
{
    BW_TRACE("AccountRow.cpp", "Sub setField");
    const quint32 begin = column == 0 ? 0 : m_ends[size_t(column - 1)];
    const quint32 end = m_ends[size_t(column)];
    const QString copy = value.toString(); // value may point into this row
    m_text.replace(qsizetype(begin), qsizetype(end - begin), copy);
    const qint64 delta = qint64(copy.size()) - qint64(end - begin);
    for (int i = column; i < DataFileFormat::ColumnCount; ++i)
        m_ends[size_t(i)] = quint32(qint64(m_ends[size_t(i)]) + delta);
}

bool AccountRow::operator==(const AccountRow& other) const
{
    BW_TRACE("AccountRow.cpp", "Function operator==");
    return m_rowId == other.m_rowId && m_ends == other.m_ends && m_text == other.m_text;
}
