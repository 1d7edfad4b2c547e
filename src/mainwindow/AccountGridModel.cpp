#include "mainwindow/AccountGridModel.h"

#include "errortrap/Bulwark.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"

namespace {
constexpr char kModule[] = "AccountGridModel.cpp";

int recordColumn(int gridColumn)
{
    return gridColumn == AccountGridModel::AccountColumn ? DataFileFormat::Account : DataFileFormat::URL;
}

int listedRows(const Recordset* records)
{
    return records && records->isOpen() ? records->rowCount() : 0;
}
} // namespace

AccountGridModel::AccountGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    BW_TRACE(kModule, "Sub Class_Initialize");
}

AccountGridModel::~AccountGridModel()
{
    for (const auto& connection : std::as_const(m_connections))
        disconnect(connection);
}

QString AccountGridModel::dataField(int gridColumn)
{
    BW_TRACE(kModule, "Function dataField");
    if (gridColumn == AccountColumn)
        return QStringLiteral("Account");
    if (gridColumn == UrlColumn)
        return QStringLiteral("URL");
    return QString();
}

void AccountGridModel::setRecordset(std::shared_ptr<Recordset> records)
{
    BW_TRACE(kModule, "Sub setRecordset");
    for (const auto& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    beginResetModel();
    m_records = std::move(records);
    m_rowCount = listedRows(m_records.get());
    endResetModel();
    if (!m_records)
        return;
    Recordset* set = m_records.get();
    m_connections << connect(set, &Recordset::rowsReset, this, &AccountGridModel::recordsReset)
                  << connect(set, &Recordset::rowInserted, this, &AccountGridModel::recordInserted)
                  << connect(set, &Recordset::rowRemoved, this, &AccountGridModel::recordRemoved)
                  << connect(set, &Recordset::rowChanged, this, &AccountGridModel::recordChanged);
}

void AccountGridModel::reload()
{
    BW_TRACE(kModule, "Sub reload");
    recordsReset();
}

int AccountGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int AccountGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant AccountGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !m_records || index.row() >= m_rowCount)
        return QVariant();
    return m_records->valueAt(index.row(), recordColumn(index.column()));
}

QVariant AccountGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return dataField(section);
}

void AccountGridModel::recordsReset()
{
    BW_TRACE(kModule, "Sub recordsReset");
    beginResetModel();
    m_rowCount = listedRows(m_records.get());
    endResetModel();
}

// The record set tells of a change after making it. A record is only ever added after the last row,
// so the rows before it are as they were and the view can be told of the one new row. A removal
// shifts the rows after it, which the view could not be told of afterwards: it is shown afresh.
void AccountGridModel::recordInserted(int row)
{
    BW_TRACE(kModule, "Sub recordInserted");
    if (row != m_rowCount || listedRows(m_records.get()) != m_rowCount + 1) {
        recordsReset();
        return;
    }
    beginInsertRows(QModelIndex(), row, row);
    m_rowCount = listedRows(m_records.get());
    endInsertRows();
}

void AccountGridModel::recordRemoved(int row)
{
    BW_TRACE(kModule, "Sub recordRemoved");
    Q_UNUSED(row);
    recordsReset();
}

void AccountGridModel::recordChanged(int row)
{
    if (row < 0 || row >= m_rowCount)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, GridColumnCount - 1), {Qt::DisplayRole});
}
