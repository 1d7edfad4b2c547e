#pragma once
// One Account record as the record set holds it: the row id and the fourteen texts, kept in one
// string with the end of each field, so 100,000 records cost one allocation each.
#include "storage/DataFileFormat.h"

#include <QString>
#include <QStringView>
#include <array>

class AccountRow
{
public:
    AccountRow() { m_ends.fill(0); }

    qint64 rowId() const { return m_rowId; }
    void setRowId(qint64 id) { m_rowId = id; }

    QStringView field(int column) const
    {
        const quint32 begin = column == 0 ? 0 : m_ends[size_t(column - 1)];
        return QStringView(m_text).mid(begin, m_ends[size_t(column)] - begin);
    }
    void setField(int column, QStringView value);

    // The loader's way in: it writes the fourteen texts one after another into buffer() and marks
    // where each one ends.
    QString& buffer() { return m_text; }
    void setFieldEnd(int column, quint32 end) { m_ends[size_t(column)] = end; }

    bool operator==(const AccountRow& other) const;

private:
    qint64 m_rowId = 0;
    QString m_text;
    std::array<quint32, DataFileFormat::ColumnCount> m_ends;
};
