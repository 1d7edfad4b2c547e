#pragma once
// The statements on tblAccount: read every record, and write, add or remove one record, each write in
// its own transaction that has reached the file when the call returns.
#include "storage/AccountRow.h"

#include <vector>

class SqlCipherDatabase;

namespace AccountTable {

// Every record in row id order.
std::vector<AccountRow> loadAll(SqlCipherDatabase& db);

// Adds the record and returns its new row id.
qint64 insert(SqlCipherDatabase& db, const AccountRow& row);

// Writes the fourteen fields of the record with row.rowId(). Throws RowNotFound when it is gone.
void update(SqlCipherDatabase& db, const AccountRow& row);

// Removes the record; a record that is already gone is not an error.
void remove(SqlCipherDatabase& db, qint64 rowId);

} // namespace AccountTable
