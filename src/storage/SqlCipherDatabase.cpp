#include "storage/SqlCipherDatabase.h"

#include "storage/DataFileFormat.h"
#include "storage/DataFileProbe.h"
#include "storage/EngineError.h"
#include "storage/SqlStatement.h"

#include <QFile>
#include <QSet>
#include <sqlite3.h>

namespace {
constexpr int kBusyTimeoutMs = 2000;

[[noreturn]] void refuse(int number, const char* description)
{
    throw RuntimeError(number, QString::fromUtf8(description), QStringLiteral("Lockwell"));
}

void refuseByKind(DataFileKind kind)
{
    switch (kind) {
    case DataFileKind::Missing:
        refuse(EngineErr::CannotOpen, "The data file does not exist.");
    case DataFileKind::NotRegular:
        refuse(EngineErr::CannotOpen, "The path names a folder or a device, not a data file.");
    case DataFileKind::Unreadable:
        refuse(EngineErr::AccessDenied, "Permission denied: the data file cannot be read.");
    case DataFileKind::Empty:
        refuse(EngineErr::NotADataFile, "The file is empty: it is not a Lockwell data file.");
    case DataFileKind::WrongSize:
        refuse(EngineErr::NotADataFile,
               "The file is not a Lockwell data file: its size does not fit the format (it may be cut short).");
    case DataFileKind::Plain:
    case DataFileKind::Encrypted:
        break;
    }
}

} // namespace

SqlCipherDatabase::SqlCipherDatabase(sqlite3* db, const QString& path, bool encrypted, bool readOnly)
    : m_db(db), m_path(path), m_encrypted(encrypted), m_readOnly(readOnly)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub SqlCipherDatabase");
}

SqlCipherDatabase::~SqlCipherDatabase()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub ~SqlCipherDatabase");
    sqlite3_close_v2(m_db);
}

std::unique_ptr<SqlCipherDatabase> SqlCipherDatabase::open(const QString& path, const SecretText& password,
                                                           Access access, Sharing sharing)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Function open");
    const DataFileProbe probe = DataFileProbe::inspect(path);
    refuseByKind(probe.kind);
    const bool readOnly = access == Access::ReadOnly;
    if (!readOnly && !probe.writable)
        refuse(EngineErr::ReadOnly, "The data file or its folder is read-only.");

    sqlite3* db = nullptr;
    // Never create a file. A connection is only ever used by the thread that opened it, so the engine
    // need not lock it for every call.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const RuntimeError error = engineError(rc, db);
        sqlite3_close_v2(db);
        throw error;
    }
    const bool encrypted = probe.kind == DataFileKind::Encrypted;
    std::unique_ptr<SqlCipherDatabase> connection(new SqlCipherDatabase(db, path, encrypted, readOnly));
    if (encrypted) {
        if (password.isEmpty()) // no key would read the pages as they are: no database at all
            refuse(EngineErr::WrongPassword, "The data file password is not valid.");
        const SecretBytes key = password.toUtf8();
        throwIfEngineError(sqlite3_key(db, key.data(), key.size()), db);
        applyCipherSettings(db, "main");
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (sharing == Sharing::Exclusive)
        connection->exec("PRAGMA locking_mode = EXCLUSIVE");
    try {
        connection->verifyOpened();
        connection->requireAccountTable();
    } catch (const RuntimeError& e) {
        // The engine compares the header's page count with the file's size when it reads the schema:
        // a file cut short at a page boundary decrypts, but is refused here.
        if (e.number() == SQLITE_CORRUPT)
            refuse(EngineErr::Damaged, "The data file is damaged: it is shorter than its header says, or its "
                                       "pages do not fit together.");
        throw;
    }
    connection->exec("PRAGMA temp_store = MEMORY");
    if (!readOnly) {
        // A write-ahead log: one sync per committed write instead of three, and a crash still leaves
        // every committed write and nothing else.
        connection->exec("PRAGMA secure_delete = ON");
        connection->exec("PRAGMA journal_mode = WAL");
        connection->exec("PRAGMA synchronous = FULL");
        // Keep the log small: copied into the file every 256 pages (4 MB), and cut back to 4 MB after.
        connection->exec("PRAGMA wal_autocheckpoint = 256");
        connection->exec("PRAGMA journal_size_limit = 4194304");
    }
    return connection;
}

void SqlCipherDatabase::applyCipherSettings(sqlite3* db, const char* schema)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub applyCipherSettings");
    // Fixed text: schema is one of our own constant names, never a value from outside.
    const QByteArray prefix = QByteArray("PRAGMA ") + schema + '.';
    const QByteArray pageSize = prefix + "cipher_page_size = " + QByteArray::number(DataFileFormat::kPageSize);
    const QByteArray kdf = prefix + "kdf_iter = " + QByteArray::number(DataFileFormat::kKdfIterations);
    throwIfEngineError(sqlite3_exec(db, pageSize.constData(), nullptr, nullptr, nullptr), db);
    throwIfEngineError(sqlite3_exec(db, kdf.constData(), nullptr, nullptr, nullptr), db);
}

void SqlCipherDatabase::exec(const char* sql)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub exec");
    throwIfEngineError(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), m_db);
}

qint64 SqlCipherDatabase::dataVersion()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Function dataVersion");
    SqlStatement version(m_db, "PRAGMA data_version");
    version.step();
    return version.columnInt64(0);
}

void SqlCipherDatabase::verifyOpened()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub verifyOpened");
    // The first read decrypts page 1: a wrong key and foreign bytes both fail here the same way.
    const int rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB && m_encrypted)
        refuse(EngineErr::WrongPassword, "The data file password is not valid.");
    if (rc == SQLITE_NOTADB)
        refuse(EngineErr::NotADataFile, "The file is not a Lockwell data file.");
    throwIfEngineError(rc, m_db);
}

void SqlCipherDatabase::requireAccountTable()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub requireAccountTable");
    SqlStatement info(m_db, "PRAGMA table_info(tblAccount)");
    QSet<int> present;
    while (info.step()) {
        const int column = DataFileFormat::columnIndex(info.columnText(1));
        if (column >= 0)
            present.insert(column);
    }
    if (present.isEmpty())
        refuse(EngineErr::NotADataFile, "The file is not a Lockwell data file: it has no table tblAccount.");
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (!present.contains(column)) {
            throw RuntimeError(EngineErr::NotADataFile,
                               QStringLiteral("The file is not a Lockwell data file: table tblAccount has no column ") +
                                   QLatin1String(DataFileFormat::kColumnNames[size_t(column)]) + QLatin1Char('.'),
                               QStringLiteral("Lockwell"));
        }
    }
}

SqlTransaction::SqlTransaction(SqlCipherDatabase& db) : m_db(db)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub SqlTransaction");
    m_db.exec("BEGIN IMMEDIATE");
}

SqlTransaction::~SqlTransaction()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub ~SqlTransaction");
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqlTransaction::commit()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub commit");
    m_db.exec("COMMIT");
    m_done = true;
}
