#pragma once
// The statements on tblAccount: read every record, and write, add or remove one record, each write in
// its own transaction that has reached the file when the call returns.
#include "storage/AccountRow.h"

#include <functional>
#include <optional>
#include <vector>

class SqlCipherDatabase;

namespace AccountTable {

// Every record in row id order.
std::vector<AccountRow> loadAll(SqlCipherDatabase& db);

// Adds the record and returns its new row id.
qint64 insert(SqlCipherDatabase& db, const AccountRow& row);

// Adds every record in one transaction that lands whole or not at all, calling afterEach (when given)
// with the count added so far after each one.
void insertAll(SqlCipherDatabase& db, const std::vector<AccountRow>& rows,
               const std::function<void(int)>& afterEach = {});

// The record with this row id as the file holds it now, or nothing when it is gone.
std::optional<AccountRow> load(SqlCipherDatabase& db, qint64 rowId);

// A set of columns, bit (1 << column) for each.
using Columns = quint32;

enum class UpdateOutcome {
    Written, // the fields were written
    Changed, // another writer changed one of those fields since it was read: nothing was written
    Gone     // the record is no longer in the file
};

// Writes only the given columns of `changes` to its record (changes.rowId()), and only while each of them
// still holds the value this writer read (`read`), so a field another writer changed meanwhile is never
// overwritten unseen. `stored` receives the record as the file holds it afterwards (Written) or now
// (Changed), other writers' changes to other fields included.
UpdateOutcome update(SqlCipherDatabase& db, const AccountRow& read, const AccountRow& changes, Columns columns,
                     AccountRow& stored);

// Removes the record; a record that is already gone is not an error.
void remove(SqlCipherDatabase& db, qint64 rowId);

} // namespace AccountTable
