#pragma once
// An open connection to one data file. Opening checks the file before the engine sees it, then proves
// the key and insists on tblAccount through a connection that can only read (so a refused file is left
// exactly as it was), and only then opens it for writing. Every failure is a RuntimeError whose number
// tells the cases apart (see EngineError.h). An unencrypted file is only ever read.
#include "crypto/SecretText.h"
#include "storage/DataFileLock.h"

#include <QString>
#include <memory>

struct sqlite3;

class SqlCipherDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };
    enum class Sharing { DenyNone, Exclusive };
    // Whether the connection takes Lockwell's shared lock on the file for its life (DataFileLock), or
    // the caller already holds the file's lock.
    enum class Locking { Shared, HeldByCaller };

    // Opens the data file at path. password is ignored for an unencrypted file, which opens for reading
    // only (asked for writing it is refused: its accounts are copied into an encrypted file instead).
    static std::unique_ptr<SqlCipherDatabase> open(const QString& path, const SecretText& password,
                                                   Access access = Access::ReadWrite,
                                                   Sharing sharing = Sharing::DenyNone,
                                                   Locking locking = Locking::Shared);
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

    // The engine's address of a file that is to be read as it lies: nothing is written beside it, no
    // lock is taken and no journal looked for. For a connection or an ATTACH that allows addresses.
    static QByteArray untouchedAddress(const QString& path);

private:
    // How the engine is asked to open the file: as usual, or as a file nobody changes (nothing is ever
    // written beside it and no lock is taken: a probe that leaves no trace).
    enum class EngineMode { ReadWrite, ReadOnly, Untouched };
    static std::unique_ptr<SqlCipherDatabase> connect(const QString& path, const SecretText& password, bool encrypted,
                                                      EngineMode mode);
    SqlCipherDatabase(sqlite3* db, const QString& path, bool encrypted, bool readOnly);
    // The key opens the file, and it holds a tblAccount the program can work on.
    void requireAccepted();
    void verifyOpened();
    void requireAccountTable();
    void prepareForWriting();

    sqlite3* m_db;
    QString m_path;
    bool m_encrypted;
    bool m_readOnly;
    DataFileLock m_lock;
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
