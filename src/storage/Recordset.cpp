#include "storage/Recordset.h"

#include "storage/AccountTable.h"
#include "storage/EngineError.h"
#include "storage/FilterCriterion.h"
#include "storage/RecordWriteError.h"
#include "storage/SortOrder.h"
#include "storage/SqlCipherDatabase.h"

#include <algorithm>

namespace {
constexpr char kModule[] = "Recordset.cpp";

[[noreturn]] void raise(int number, const char* description)
{
    throw RuntimeError(number, QString::fromUtf8(description), QStringLiteral("Lockwell"));
}

bool isNoFilter(const QString& filter)
{
    const QString trimmed = filter.trimmed();
    return trimmed.isEmpty() || trimmed == QLatin1String("0");
}

constexpr AccountTable::Columns columnBit(int column)
{
    return AccountTable::Columns(1) << column;
}

// The fields in which two versions of a record differ.
AccountTable::Columns differences(const AccountRow& a, const AccountRow& b)
{
    AccountTable::Columns columns = 0;
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (a.field(column) != b.field(column))
            columns |= columnBit(column);
    }
    return columns;
}

int columnOf(const QString& field)
{
    const int column = DataFileFormat::columnIndex(field);
    if (column < 0)
        throw RuntimeError(EngineErr::ItemNotFound,
                           QStringLiteral("There is no field named ") + field + QLatin1Char('.'),
                           QStringLiteral("Lockwell"));
    return column;
}
} // namespace

Recordset::Recordset(std::shared_ptr<SqlCipherDatabase> connection, QObject* parent)
    : QObject(parent), m_connection(std::move(connection))
{
    BW_TRACE(kModule, "Sub Recordset");
    m_rows = AccountTable::loadAll(*m_connection);
    m_removed.assign(m_rows.size(), false);
    rebuildView(false);
}

Recordset::~Recordset() = default;

void Recordset::close()
{
    BW_TRACE(kModule, "Sub close");
    requireOpen();
    m_open = false;
    m_rows.clear();
    m_removed.clear();
    m_folded.clear();
    m_view.clear();
    m_position = -1;
    m_onDeleted = false;
    m_pending = AccountRow();
    m_changed = 0;
    m_editMode = EditNone;
    Q_EMIT rowsReset();
    Q_EMIT editModeChanged();
    Q_EMIT currentChanged();
}

bool Recordset::isReadOnly() const
{
    return m_connection && m_connection->isReadOnly();
}

void Recordset::detach()
{
    BW_TRACE(kModule, "Sub detach");
    m_connection.reset();
}

bool Recordset::bof() const
{
    return !m_onDeleted && (m_view.empty() || m_position < 0);
}

bool Recordset::eof() const
{
    return !m_onDeleted && (m_view.empty() || m_position >= int(m_view.size()));
}

int Recordset::recordCount() const
{
    return int(m_view.size());
}

int Recordset::absolutePosition() const
{
    BW_TRACE(kModule, "Function absolutePosition");
    if (m_onDeleted)
        return PositionUnknown;
    if (bof())
        return PositionBOF;
    if (eof())
        return PositionEOF;
    return m_position + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    BW_TRACE(kModule, "Sub setAbsolutePosition");
    requireOpen();
    if (position < 1 || position > int(m_view.size()))
        raise(EngineErr::BadArguments, "The position is outside the records.");
    writePending();
    leaveDeleted();
    setPosition(position - 1);
}

void Recordset::moveFirst()
{
    BW_TRACE(kModule, "Sub moveFirst");
    requireOpen();
    writePending();
    leaveDeleted();
    setPosition(m_view.empty() ? -1 : 0);
}

void Recordset::moveLast()
{
    BW_TRACE(kModule, "Sub moveLast");
    requireOpen();
    writePending();
    leaveDeleted();
    setPosition(int(m_view.size()) - 1);
}

void Recordset::moveNext()
{
    BW_TRACE(kModule, "Sub moveNext");
    move(1);
}

void Recordset::movePrevious()
{
    BW_TRACE(kModule, "Sub movePrevious");
    move(-1);
}

void Recordset::move(int count)
{
    BW_TRACE(kModule, "Sub move");
    requireOpen();
    if ((count > 0 && eof()) || (count < 0 && bof()))
        raise(EngineErr::NoCurrentRecord,
              "There is no current record: the position is before the first or after the last record.");
    writePending();
    // From a deleted record the next one already stands at its place.
    const int base = (m_onDeleted && count > 0) ? m_position - 1 : m_position;
    leaveDeleted();
    setPosition(std::clamp(base + count, -1, int(m_view.size())));
}

QString Recordset::value(const QString& field) const
{
    BW_TRACE(kModule, "Function value");
    return value(columnOf(field));
}

QString Recordset::value(int column) const
{
    BW_TRACE(kModule, "Function value");
    requireCurrent();
    if (m_editMode != EditNone)
        return m_pending.field(column).toString();
    return m_rows[size_t(m_view[size_t(m_position)])].field(column).toString();
}

void Recordset::setValue(const QString& field, const QString& text)
{
    BW_TRACE(kModule, "Sub setValue");
    setValue(columnOf(field), text);
}

void Recordset::setValue(int column, const QString& text)
{
    BW_TRACE(kModule, "Sub setValue");
    requireCurrent();
    if (column < 0 || column >= DataFileFormat::ColumnCount)
        raise(EngineErr::ItemNotFound, "There is no field at that index.");
    const AccountRow& stored = m_rows[size_t(m_view[size_t(m_position)])];
    if (m_editMode == EditNone) {
        m_pending = stored;
        m_changed = 0;
    }
    m_pending.setField(column, text);
    if (m_editMode != EditAdd) {
        if (stored.field(column) != text)
            m_changed |= columnBit(column);
        else
            m_changed &= ~columnBit(column);
    }
    setEditMode(m_editMode == EditNone ? EditInProgress : m_editMode);
    Q_EMIT rowChanged(m_position);
}

void Recordset::addNew()
{
    BW_TRACE(kModule, "Sub addNew");
    requireOpen();
    writableConnection();
    writePending();
    leaveDeleted();
    m_positionBeforeAdd = m_position;
    m_rows.emplace_back();
    m_removed.push_back(false);
    m_view.push_back(int(m_rows.size()) - 1);
    m_folded.refresh(m_rows.size() - 1, m_rows.back());
    m_pending = AccountRow();
    m_position = int(m_view.size()) - 1;
    Q_EMIT rowInserted(m_position);
    setEditMode(EditAdd);
    Q_EMIT currentChanged();
}

bool Recordset::update()
{
    BW_TRACE(kModule, "Function update");
    requireOpen();
    if (m_editMode == EditDelete)
        raise(EngineErr::NotAllowedInContext, "A deleted record cannot be written.");
    if (m_editMode == EditNone)
        return true;
    if (m_pending.field(DataFileFormat::Account).isEmpty())
        return false; // the account name is required
    const auto index = size_t(m_view[size_t(m_position)]);
    try {
        if (m_editMode == EditAdd) {
            m_pending.setRowId(AccountTable::insert(writableConnection(), m_pending));
            m_rows[index] = m_pending;
        } else {
            writeStoredRecord(index);
        }
    } catch (const RecordWriteError&) {
        throw;
    } catch (const RuntimeError& e) {
        if (e.number() == EngineErr::ClosedObject)
            throw;
        throw RecordWriteError(RecordWriteError::Operation::Write, e);
    }
    m_folded.refresh(index, m_rows[index]);
    m_pending = AccountRow();
    m_changed = 0;
    setEditMode(EditNone);
    Q_EMIT rowChanged(m_position);
    return true;
}

void Recordset::writeStoredRecord(size_t index)
{
    BW_TRACE(kModule, "Sub writeStoredRecord");
    AccountRow stored;
    switch (AccountTable::update(writableConnection(), m_rows[index], m_pending, m_changed, stored)) {
    case AccountTable::UpdateOutcome::Written:
        m_rows[index] = std::move(stored);
        return;
    case AccountTable::UpdateOutcome::Changed: {
        // The change now stands on what the file holds: the other writer's fields show, ours stay pending.
        AccountRow merged = stored;
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
            if (m_changed & columnBit(column))
                merged.setField(column, m_pending.field(column));
        }
        m_rows[index] = std::move(stored);
        m_folded.refresh(index, m_rows[index]);
        m_changed = differences(merged, m_rows[index]);
        m_pending = std::move(merged);
        Q_EMIT rowChanged(m_position);
        Q_EMIT currentChanged();
        if (m_changed == 0)
            return; // the other writer stored exactly what we meant to
        throw RecordWriteError(RecordWriteError::Reason::ChangedElsewhere);
    }
    case AccountTable::UpdateOutcome::Gone:
        // Only this set still has the record: writing it again stores it as a new one.
        m_positionBeforeAdd = m_position;
        setEditMode(EditAdd);
        throw RecordWriteError(RecordWriteError::Reason::DeletedElsewhere);
    }
}

void Recordset::deleteRecord()
{
    BW_TRACE(kModule, "Sub deleteRecord");
    requireCurrent();
    if (m_editMode == EditAdd) {
        cancelUpdate(); // a record that was never written: nothing to remove from the file
        return;
    }
    SqlCipherDatabase& db = writableConnection();
    const int index = m_view[size_t(m_position)];
    try {
        AccountTable::remove(db, m_rows[size_t(index)].rowId());
    } catch (const RuntimeError& e) {
        throw RecordWriteError(RecordWriteError::Operation::Delete, e);
    }
    m_removed[size_t(index)] = true;
    m_view.erase(m_view.begin() + m_position);
    m_pending = AccountRow();
    m_onDeleted = true;
    Q_EMIT rowRemoved(m_position);
    setEditMode(EditDelete);
    Q_EMIT currentChanged();
}

void Recordset::cancelUpdate()
{
    BW_TRACE(kModule, "Sub cancelUpdate");
    requireOpen();
    if (m_editMode == EditInProgress) {
        m_pending = AccountRow();
        m_changed = 0;
        setEditMode(EditNone);
        Q_EMIT rowChanged(m_position);
        Q_EMIT currentChanged();
    } else if (m_editMode == EditAdd) {
        removeNewRecord();
        setPosition(std::min(m_positionBeforeAdd, int(m_view.size())));
    }
}

void Recordset::setSort(const QString& sort)
{
    BW_TRACE(kModule, "Sub setSort");
    requireOpen();
    SortOrder::parse(sort); // refuse a bad order before anything changes
    writePending();
    m_sortText = sort;
    rebuildView(true);
}

QString Recordset::filter() const
{
    return isNoFilter(m_filterText) ? QStringLiteral("0") : m_filterText;
}

void Recordset::setFilter(const QString& filter)
{
    BW_TRACE(kModule, "Sub setFilter");
    requireOpen();
    if (!isNoFilter(filter))
        FilterCriterion::parse(filter);
    writePending();
    m_filterText = filter;
    rebuildView(false);
}

void Recordset::find(const QString& criterion)
{
    BW_TRACE(kModule, "Sub find");
    requireOpen();
    const FilterCriterion match = FilterCriterion::parse(criterion);
    writePending();
    int row = m_onDeleted ? m_position : std::max(m_position, 0);
    leaveDeleted();
    const int count = int(m_view.size());
    const FoldedColumn& folded = m_folded.column(match.column(), m_rows);
    while (row < count && !match.matches(folded, size_t(m_view[size_t(row)])))
        ++row;
    setPosition(std::min(row, count));
}

int Recordset::currentRow() const
{
    return (bof() || eof() || m_onDeleted) ? -1 : m_position;
}

QString Recordset::valueAt(int row, int column) const
{
    if (row < 0 || row >= int(m_view.size()))
        return QString();
    if (row == m_position && !m_onDeleted && m_editMode != EditNone)
        return m_pending.field(column).toString();
    return m_rows[size_t(m_view[size_t(row)])].field(column).toString();
}

qint64 Recordset::rowIdAt(int row) const
{
    if (row < 0 || row >= int(m_view.size()))
        return -1;
    return m_rows[size_t(m_view[size_t(row)])].rowId();
}

void Recordset::moveToRow(int row)
{
    BW_TRACE(kModule, "Sub moveToRow");
    setAbsolutePosition(row + 1);
}

void Recordset::requireOpen() const
{
    if (!m_open)
        raise(EngineErr::ClosedObject, "The record set is closed.");
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (bof() || eof() || m_onDeleted)
        raise(EngineErr::NoCurrentRecord, "There is no current record: the position is before the first or after the "
                                          "last record, or the record was deleted.");
}

SqlCipherDatabase& Recordset::writableConnection() const
{
    if (!m_connection)
        raise(EngineErr::ClosedObject, "The record set has no connection to a data file.");
    return *m_connection;
}

void Recordset::writePending()
{
    BW_TRACE(kModule, "Sub writePending");
    if (m_editMode != EditInProgress && m_editMode != EditAdd)
        return;
    if (m_pending.field(DataFileFormat::Account).isEmpty())
        dropPending();
    else
        update();
}

void Recordset::dropPending()
{
    BW_TRACE(kModule, "Sub dropPending");
    if (m_editMode == EditInProgress) {
        cancelUpdate();
        return;
    }
    // The position stays where the new record stood, so a move goes on from there.
    removeNewRecord();
    Q_EMIT currentChanged();
}

void Recordset::removeNewRecord()
{
    BW_TRACE(kModule, "Sub removeNewRecord");
    const int row = m_position;
    m_removed[size_t(m_view[size_t(row)])] = true;
    m_view.erase(m_view.begin() + row);
    m_pending = AccountRow();
    m_editMode = EditNone;
    Q_EMIT rowRemoved(row);
    Q_EMIT editModeChanged();
}

void Recordset::leaveDeleted()
{
    if (!m_onDeleted)
        return;
    m_onDeleted = false;
    setEditMode(EditNone);
}

void Recordset::setPosition(int position)
{
    m_position = position;
    Q_EMIT currentChanged();
}

void Recordset::setEditMode(int mode)
{
    if (m_editMode == mode)
        return;
    m_editMode = mode;
    Q_EMIT editModeChanged();
}

void Recordset::rebuildView(bool keepCurrent)
{
    BW_TRACE(kModule, "Sub rebuildView");
    const int current = (keepCurrent && currentRow() >= 0) ? m_view[size_t(m_position)] : -1;
    m_onDeleted = false;
    m_editMode = EditNone;
    m_changed = 0;
    m_view.clear();
    m_view.reserve(m_rows.size());
    if (isNoFilter(m_filterText)) {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (!m_removed[i])
                m_view.push_back(int(i));
        }
    } else {
        const FilterCriterion criterion = FilterCriterion::parse(m_filterText);
        const FoldedColumn& folded = m_folded.column(criterion.column(), m_rows);
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (!m_removed[i] && criterion.matches(folded, i))
                m_view.push_back(int(i));
        }
    }
    SortOrder::parse(m_sortText).apply(m_view, m_rows, m_folded);
    Q_EMIT rowsReset();
    Q_EMIT editModeChanged();
    int position = m_view.empty() ? -1 : 0;
    if (current >= 0) {
        const auto it = std::find(m_view.begin(), m_view.end(), current);
        if (it != m_view.end())
            position = int(it - m_view.begin());
    }
    setPosition(position);
}
