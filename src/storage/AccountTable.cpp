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
constexpr char kSelectOne[] =
    "SELECT rowid, Account, URL, IDtext, Password, HINT, Key1_Name, Key1, Key2_Name, Key2, Key3_Name, Key3, "
    "Key4_Name, Key4, Info FROM tblAccount WHERE rowid = ?1";
constexpr char kInsert[] =
    "INSERT INTO tblAccount (Account, URL, IDtext, Password, HINT, Key1_Name, Key1, Key2_Name, Key2, Key3_Name, "
    "Key3, Key4_Name, Key4, Info) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)";
constexpr char kDelete[] = "DELETE FROM tblAccount WHERE rowid = ?1";

void bindFields(SqlStatement& statement, const AccountRow& row)
{
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
        statement.bindText(column + 1, row.field(column));
}

// Reads the row a statement stands on (row id, then the fourteen fields), decoding each field straight into
// the row's one buffer without a string per field.
AccountRow readRow(sqlite3_stmt* stmt, QStringDecoder& decoder)
{
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
    return row;
}

QStringDecoder utf8Decoder()
{
    return QStringDecoder(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
}

// "UPDATE tblAccount SET A = ?1, B = ?2 WHERE rowid = ?3 AND <A as read> = ?4 AND <B as read> = ?5": the
// names are the table's own fixed column names, every value a bound parameter. A field is compared as
// the record set reads it (as text, NULL as empty).
QByteArray updateStatement(AccountTable::Columns columns, int& count)
{
    QByteArray set;
    QByteArray where;
    count = 0;
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (columns & (1U << column))
            ++count;
    }
    int parameter = 0;
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (!(columns & (1U << column)))
            continue;
        const QByteArray name(DataFileFormat::kColumnNames[size_t(column)]);
        ++parameter;
        set += (set.isEmpty() ? "" : ", ") + name + " = ?" + QByteArray::number(parameter);
        where += " AND CAST(IFNULL(" + name + ", '') AS TEXT) = ?" + QByteArray::number(count + 1 + parameter);
    }
    return "UPDATE tblAccount SET " + set + " WHERE rowid = ?" + QByteArray::number(count + 1) + where;
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

    // Hot loop: one allocation per record.
    SqlStatement select(handle, kSelectAll);
    sqlite3_stmt* stmt = select.handle();
    QStringDecoder decoder = utf8Decoder();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        rows.push_back(readRow(stmt, decoder));
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

void insertAll(SqlCipherDatabase& db, const std::vector<AccountRow>& rows, const std::function<void(int)>& afterEach)
{
    BW_TRACE("AccountTable.cpp", "Sub insertAll");
    SqlTransaction transaction(db);
    SqlStatement statement(db.handle(), kInsert); // prepared once: an import of thousands stays quick
    int done = 0;
    for (const AccountRow& row : rows) {
        bindFields(statement, row);
        statement.step();
        statement.reset();
        if (afterEach)
            afterEach(++done);
    }
    transaction.commit();
}

std::optional<AccountRow> load(SqlCipherDatabase& db, qint64 rowId)
{
    BW_TRACE("AccountTable.cpp", "Function load");
    SqlStatement select(db.handle(), kSelectOne);
    select.bindInt64(1, rowId);
    if (!select.step())
        return std::nullopt;
    QStringDecoder decoder = utf8Decoder();
    return readRow(select.handle(), decoder);
}

UpdateOutcome update(SqlCipherDatabase& db, const AccountRow& read, const AccountRow& changes, Columns columns,
                     AccountRow& stored)
{
    BW_TRACE("AccountTable.cpp", "Function update");
    SqlTransaction transaction(db);
    int count = 0;
    const QByteArray sql = updateStatement(columns, count);
    bool written = true;
    if (count > 0) {
        SqlStatement statement(db.handle(), sql.constData());
        int parameter = 0;
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
            if (!(columns & (1U << column)))
                continue;
            ++parameter;
            statement.bindText(parameter, changes.field(column));
            statement.bindText(count + 1 + parameter, read.field(column));
        }
        statement.bindInt64(count + 1, changes.rowId());
        statement.step();
        written = sqlite3_changes(db.handle()) > 0;
    }
    std::optional<AccountRow> now = load(db, changes.rowId());
    if (!now)
        return UpdateOutcome::Gone;
    stored = std::move(*now);
    if (!written)
        return UpdateOutcome::Changed;
    transaction.commit();
    return UpdateOutcome::Written;
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
