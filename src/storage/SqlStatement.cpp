#include "storage/SqlStatement.h"

#include "storage/EngineError.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3* db, const char* sql) : m_db(db)
{
    BW_TRACE("SqlStatement.cpp", "Sub SqlStatement");
    throwIfEngineError(sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr), db);
}

SqlStatement::~SqlStatement()
{
    BW_TRACE("SqlStatement.cpp", "Sub ~SqlStatement");
    sqlite3_finalize(m_stmt);
}

void SqlStatement::bindText(int index, QStringView text)
{
    BW_TRACE("SqlStatement.cpp", "Sub bindText");
    const QByteArray utf8 = text.toUtf8();
    throwIfEngineError(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT), m_db);
}

void SqlStatement::bindBlob(int index, const void* data, int size)
{
    BW_TRACE("SqlStatement.cpp", "Sub bindBlob");
    throwIfEngineError(sqlite3_bind_blob(m_stmt, index, data, size, SQLITE_STATIC), m_db);
}

void SqlStatement::bindInt64(int index, qint64 value)
{
    BW_TRACE("SqlStatement.cpp", "Sub bindInt64");
    throwIfEngineError(sqlite3_bind_int64(m_stmt, index, value), m_db);
}

bool SqlStatement::step()
{
    BW_TRACE("SqlStatement.cpp", "Function step");
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw engineError(rc, m_db);
}

void SqlStatement::reset()
{
    BW_TRACE("SqlStatement.cpp", "Sub reset");
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

qint64 SqlStatement::columnInt64(int index) const
{
    return sqlite3_column_int64(m_stmt, index);
}

QString SqlStatement::columnText(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index));
}
