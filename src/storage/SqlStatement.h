#pragma once
// One prepared statement of the engine. Values only ever reach a statement as bound parameters.
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class SqlStatement
{
public:
    SqlStatement(sqlite3* db, const char* sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // Parameters are numbered from 1. The text is copied by the engine.
    void bindText(int index, QStringView text);
    void bindBlob(int index, const void* data, int size); // kept by reference until the statement runs
    void bindInt64(int index, qint64 value);

    // True while a row is available; false when the statement is done. Errors throw.
    bool step();
    void reset();

    qint64 columnInt64(int index) const;
    QString columnText(int index) const;
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
