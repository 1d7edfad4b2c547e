#pragma once
// The main window's record set over tblAccount: a client cursor. Every record is read when the set is
// opened; moves, sort, filter and find then work in memory, and each write (update, add, delete)
// reaches the data file in its own transaction before the call returns.
//
// Position: before the first record (BOF), on a record, after the last (EOF); both BOF and EOF when
// the set is empty. After a delete the deleted record stays current, in edit mode 4, until the next
// move; moves go on from where it stood. Moving off a record with a pending change writes it first.
//
// The account name is required: a record without one is never written. Moving off (or closing the data
// control) drops such a change instead: a new record disappears, a stored record keeps its stored values.
//
// Other writers may work on the same file (another window, a script). A write sends only the fields this
// set changed, and only while they still hold the values it read; afterwards the record shows what the
// file holds, other writers' changes included. A write that meets another writer's change to the same
// field, or a record deleted meanwhile, raises RecordWriteError and leaves the change pending (see update).
// Any write the engine refuses (a full disk, a read-only file) raises RecordWriteError too: the record
// stays current and the change pending, so it can be written later.
//
// Signals let a grid model and the record boxes follow: currentChanged after every move,
// rowsReset after sort, filter and close, rowInserted/rowRemoved when add or delete change the list,
// rowChanged when a field of a listed record changes.
#include "storage/AccountRow.h"
#include "storage/AccountTable.h"
#include "storage/FoldedColumns.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class SqlCipherDatabase;

class Recordset : public QObject
{
    Q_OBJECT

public:
    enum EditMode { EditNone = 0, EditInProgress = 1, EditAdd = 2, EditDelete = 4 };
    // absolutePosition() off the records.
    static constexpr int PositionUnknown = -1;
    static constexpr int PositionBOF = -2;
    static constexpr int PositionEOF = -3;

    // Reads every record of the connection's tblAccount.
    explicit Recordset(std::shared_ptr<SqlCipherDatabase> connection, QObject* parent = nullptr);
    ~Recordset() override;

    // Open and connected: "a data file is open" asks this.
    bool hasActiveConnection() const { return m_open && m_connection != nullptr; }
    bool isOpen() const { return m_open; }
    // The connection can only read: the file was opened for viewing.
    bool isReadOnly() const;
    // Drops the records (and any pending change); closing a closed set raises ClosedObject.
    void close();
    // Lets go of the connection; the set can no longer write.
    void detach();

    bool bof() const;
    bool eof() const;
    int recordCount() const; // 0 for a closed set
    int absolutePosition() const;
    void setAbsolutePosition(int position);
    int editMode() const { return m_editMode; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(int count);

    // Fields of the current record, by name (any letter case) or by column index.
    QString value(const QString& field) const;
    QString value(int column) const;
    void setValue(const QString& field, const QString& text);
    void setValue(int column, const QString& text);

    void addNew();
    // Writes the pending change; true when nothing is left pending. A record without an account name is
    // not written (false: the change stays pending). When another writer changed one of the same fields
    // since they were read, or deleted the record, RecordWriteError is raised and the change stays
    // pending on top of what the file holds now: a second update() writes it over the other writer's
    // change (stores a deleted record again, as a new one); cancelUpdate() drops it and shows the record
    // as stored (lets a deleted one go).
    bool update();
    void deleteRecord();
    void cancelUpdate();
    // What moving off the record does with a pending change: writes it, or drops it when the record has
    // no account name.
    void writePending();

    // The sort and filter texts as they were set; the filter reads "0" when none is in force.
    QString sort() const { return m_sortText; }
    void setSort(const QString& sort);
    QString filter() const;
    void setFilter(const QString& filter);
    // Searches forward from the current record (itself included); EOF when nothing matches.
    void find(const QString& criterion);

    // For a grid: the listed records in order, the current one with its pending change.
    int rowCount() const { return int(m_view.size()); }
    int currentRow() const; // -1 when there is no current listed record
    QString valueAt(int row, int column) const;
    // The row id in the data file of a listed record (0 for a new one not yet written, -1 outside the list): what stays
    // the same for a record when the file is read again.
    qint64 rowIdAt(int row) const;
    void moveToRow(int row);

Q_SIGNALS:
    void currentChanged();
    void editModeChanged();
    void rowsReset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);

private:
    void requireOpen() const;
    void requireCurrent() const;
    SqlCipherDatabase& writableConnection() const;
    void writeStoredRecord(size_t index);
    void dropPending();
    // Takes the pending new record out of the list; the position is left where it stood.
    void removeNewRecord();
    void leaveDeleted();
    void setPosition(int position);
    void setEditMode(int mode);
    void rebuildView(bool keepCurrent);

    std::shared_ptr<SqlCipherDatabase> m_connection;
    bool m_open = true;
    std::vector<AccountRow> m_rows; // every record read or added, in row id order
    std::vector<bool> m_removed;    // deleted, or a new record that was abandoned
    std::vector<int> m_view;        // the listed records (indexes into m_rows), filtered and sorted
    int m_position = -1;            // index into m_view; -1 BOF, m_view.size() EOF
    bool m_onDeleted = false;       // the current record was deleted; m_position is where it stood
    int m_editMode = EditNone;
    AccountRow m_pending;                // the current record with its pending change
    AccountTable::Columns m_changed = 0; // the fields of a stored record the pending change changed
    FoldedColumns m_folded;              // for sort, filter and find
    int m_positionBeforeAdd = -1;
    QString m_sortText;
    QString m_filterText;
};
