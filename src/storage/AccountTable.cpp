#include "storage/AccountTable.h"

#include "storage/EngineError.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"

#include <QStringDecoder>
#include <sqlite3.h>

namespace {
constexpr char kSelectAll[] =
    "SELECT rowid, Account, URL, IDtext, Password, HINT, Key1_Name, Key1, Key2_Name, Key2, Key3_Name, Key3, "
    "Key4_Name, Key4, Info FROM tblAccount ORDER BY rowid";
constexpr char kInsert[] =
    "INSERT INTO tblAccount (Account, URL, IDtext, Password, HINT, Key1_Name, Key1, Key2_Name, Key2, Key3_Name, "
    "Key3, Key4_Name, Key4, Info) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)";
constexpr char kUpdate[] =
    "UPDATE tblAccount SET Account = ?1, URL = ?2, IDtext = ?3, Password = ?4, HINT = ?5, Key1_Name = ?6, "
    "Key1 = ?7, Key2_Name = ?8, Key2 = ?9, Key3_Name = ?10, Key3 = ?11, Key4_Name = ?12, Key4 = ?13, "
    "Info = ?14 WHERE rowid = ?15";
constexpr char kDelete[] = "DELETE FROM tblAccount WHERE rowid = ?1";

void bindFields(SqlStatement& statement, const AccountRow& row)
{
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
        statement.bindText(column + 1, row.field(column));
}
} // namespace

namespace AccountTable {

std::vector<AccountRow> loadAll(SqlCipherDatabase& db)
{
    BW_TRACE("AccountTable.cpp", "Function loadAll");
    sqlite3* handle = db.handle();
    SqlStatement count(handle, "SELECT count(*) FROM tblAccount");
    count.step();
    std::vector<AccountRow> rows;
    rows.reserve(size_t(count.columnInt64(0)));

    // Hot loop: fields are decoded straight into the row's one buffer, without a string per field.
    SqlStatement select(handle, kSelectAll);
    sqlite3_stmt* stmt = select.handle();
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        AccountRow row;
        row.setRowId(sqlite3_column_int64(stmt, 0));
        qsizetype total = 0;
        for (int column = 1; column <= DataFileFormat::ColumnCount; ++column) {
            sqlite3_column_text(stmt, column); // converts a stored number to text first
            total += sqlite3_column_bytes(stmt, column);
        }
        QString& text = row.buffer();
        text.resize(total); // UTF-8 never yields more UTF-16 units than bytes
        QChar* out = text.data();
        QChar* const start = out;
        for (int column = 1; column <= DataFileFormat::ColumnCount; ++column) {
            const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            const int size = sqlite3_column_bytes(stmt, column);
            if (size > 0)
                out = decoder.appendToBuffer(out, QByteArrayView(bytes, size));
            row.setFieldEnd(column - 1, quint32(out - start));
        }
        text.truncate(out - start);
        rows.push_back(std::move(row));
    }
    throwIfEngineError(rc, handle);
    return rows;
}

qint64 insert(SqlCipherDatabase& db, const AccountRow& row)
{
    BW_TRACE("AccountTable.cpp", "Function insert");
    SqlTransaction transaction(db);
    SqlStatement statement(db.handle(), kInsert);
    bindFields(statement, row);
    statement.step();
    const qint64 rowId = sqlite3_last_insert_rowid(db.handle());
    transaction.commit();
    return rowId;
}

void update(SqlCipherDatabase& db, const AccountRow& row)
{
    BW_TRACE("AccountTable.cpp", "Sub update");
    SqlTransaction transaction(db);
    SqlStatement statement(db.handle(), kUpdate);
    bindFields(statement, row);
    statement.bindInt64(DataFileFormat::ColumnCount + 1, row.rowId());
    statement.step();
    if (sqlite3_changes(db.handle()) == 0)
        throw RuntimeError(EngineErr::RowNotFound, QStringLiteral("The record no longer exists in the data file."),
                           QStringLiteral("Lockwell"));
    transaction.commit();
}

void remove(SqlCipherDatabase& db, qint64 rowId)
{
    BW_TRACE("AccountTable.cpp", "Sub remove");
    SqlTransaction transaction(db);
    SqlStatement statement(db.handle(), kDelete);
    statement.bindInt64(1, rowId);
    statement.step();
    transaction.commit();
}

} // namespace AccountTable
