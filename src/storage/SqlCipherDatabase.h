#pragma once
// An open connection to one data file. Opening checks the file before the engine sees it, keys it
// with the data file password, proves the key against the first page and insists on tblAccount;
// every failure is a RuntimeError whose number tells the cases apart (see EngineError.h).
#include "crypto/SecretText.h"

#include <QString>
#include <memory>

struct sqlite3;

class SqlCipherDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };
    enum class Sharing { DenyNone, Exclusive };

    // Opens the data file at path. password is ignored for an unencrypted file.
    static std::unique_ptr<SqlCipherDatabase> open(const QString& path, const SecretText& password,
                                                   Access access = Access::ReadWrite,
                                                   Sharing sharing = Sharing::DenyNone);
    ~SqlCipherDatabase();
    SqlCipherDatabase(const SqlCipherDatabase&) = delete;
    SqlCipherDatabase& operator=(const SqlCipherDatabase&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    bool isEncrypted() const { return m_encrypted; }
    bool isReadOnly() const { return m_readOnly; }

    // Runs fixed SQL text (no values from outside) to its end.
    void exec(const char* sql);

    // A number that changes whenever another connection, in this process or another, has committed a
    // change to the file since the last call; this connection's own writes leave it as it is.
    qint64 dataVersion();

    // Sets the cipher settings of a keyed schema ("main" or an attached name) before its first use.
    static void applyCipherSettings(sqlite3* db, const char* schema);

private:
    SqlCipherDatabase(sqlite3* db, const QString& path, bool encrypted, bool readOnly);
    void verifyOpened();
    void requireAccountTable();

    sqlite3* m_db;
    QString m_path;
    bool m_encrypted;
    bool m_readOnly;
};

// BEGIN IMMEDIATE on construction, ROLLBACK unless commit() was called.
class SqlTransaction
{
public:
    explicit SqlTransaction(SqlCipherDatabase& db);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    void commit();

private:
    SqlCipherDatabase& m_db;
    bool m_done = false;
};
