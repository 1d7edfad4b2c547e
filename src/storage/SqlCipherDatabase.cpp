#include "storage/SqlCipherDatabase.h"

#include "storage/DataFileFormat.h"
#include "storage/DataFileProbe.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/SqlStatement.h"

#include <QFile>
#include <QFileInfo>
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

bool isTable(sqlite3* db)
{
    SqlStatement kind(db, "SELECT type FROM sqlite_master WHERE name = 'tblAccount' COLLATE NOCASE");
    return kind.step() && kind.columnText(0) == QLatin1String("table");
}

bool hasRowIds(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db, "SELECT rowid FROM tblAccount", -1, &statement, nullptr);
    sqlite3_finalize(statement);
    return rc == SQLITE_OK;
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
                                                           Access access, Sharing sharing, Locking locking)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Function open");
    // The file itself: the engine names its journal after it, also when path is a link.
    const QString file = FileSafety::resolvedPath(path);
    DataFileProbe probe = DataFileProbe::inspect(file);
    // A journal or log beside the file: a write crashed (or another program is writing), and only a
    // connection that may write can put the file back as it was, even one cut inside a page.
    const bool writeUnderWay =
        QFileInfo::exists(file + QLatin1String("-journal")) || QFileInfo::exists(file + QLatin1String("-wal"));
    if (writeUnderWay && probe.kind == DataFileKind::WrongSize)
        probe.kind = DataFileKind::Encrypted;
    refuseByKind(probe.kind);
    const bool encrypted = probe.kind == DataFileKind::Encrypted;
    const bool readOnly = access == Access::ReadOnly;
    if (!encrypted && !readOnly)
        refuse(EngineErr::NotADataFile, "The data file is not encrypted: it is opened only by copying its accounts "
                                        "into a new encrypted data file.");
    if (!readOnly && !probe.writable)
        refuse(EngineErr::ReadOnly, "The data file or its folder is read-only.");
    if (encrypted && password.isEmpty()) // no key would read the pages as they are: no database at all
        refuse(EngineErr::WrongPassword, "The data file password is not valid.");

    // Held from before the first read to the end: no other Lockwell replaces the file meanwhile.
    DataFileLock lock;
    if (locking == Locking::Shared)
        lock = DataFileLock::lock(file, DataFileLock::Mode::Shared);

    std::unique_ptr<SqlCipherDatabase> connection;
    if (!writeUnderWay) {
        connection = connect(file, password, encrypted, EngineMode::Untouched);
        connection->requireAccepted();
        if (readOnly) {
            connection->m_lock = std::move(lock);
            return connection;
        }
    } else if (!encrypted) {
        refuse(EngineErr::Busy, "The file is in use by another program.");
    }
    connection = connect(file, password, encrypted, readOnly ? EngineMode::ReadOnly : EngineMode::ReadWrite);
    if (sharing == Sharing::Exclusive)
        connection->exec("PRAGMA locking_mode = EXCLUSIVE");
    connection->requireAccepted();
    if (!readOnly)
        connection->prepareForWriting();
    connection->m_lock = std::move(lock);
    return connection;
}

std::unique_ptr<SqlCipherDatabase> SqlCipherDatabase::connect(const QString& path, const SecretText& password,
                                                              bool encrypted, EngineMode mode)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Function connect");
    // Never create a file. A connection is only ever used by the thread that opened it, so the engine
    // need not lock it for every call.
    int flags = SQLITE_OPEN_NOMUTEX;
    QByteArray name = QFile::encodeName(path);
    switch (mode) {
    case EngineMode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case EngineMode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case EngineMode::Untouched:
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = untouchedAddress(path);
        break;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const RuntimeError error = engineError(rc, db);
        sqlite3_close_v2(db);
        throw error;
    }
    std::unique_ptr<SqlCipherDatabase> connection(
        new SqlCipherDatabase(db, path, encrypted, mode != EngineMode::ReadWrite));
    if (encrypted) {
        const SecretBytes key = password.toUtf8();
        throwIfEngineError(sqlite3_key(db, key.data(), key.size()), db);
        applyCipherSettings(db, "main");
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return connection;
}

void SqlCipherDatabase::requireAccepted()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub requireAccepted");
    try {
        verifyOpened();
        requireAccountTable();
    } catch (const RuntimeError& e) {
        // The engine compares the header's page count with the file's size when it reads the schema:
        // a file cut short at a page boundary decrypts, but is refused here.
        if (e.number() == SQLITE_CORRUPT)
            refuse(EngineErr::Damaged, "The data file is damaged: it is shorter than its header says, or its "
                                       "pages do not fit together.");
        throw;
    }
    exec("PRAGMA temp_store = MEMORY");
}

void SqlCipherDatabase::prepareForWriting()
{
    BW_TRACE("SqlCipherDatabase.cpp", "Sub prepareForWriting");
    // A rollback journal: a commit is in the data file itself before the write returns, so the file alone
    // (a copy of it, a backup) holds every committed record whenever no write is under way; a crash in a
    // write leaves the journal that the next open rolls back. Files of earlier versions kept a
    // write-ahead log: it is copied in and removed here.
    exec("PRAGMA secure_delete = ON");
    {
        SqlStatement mode(m_db, "PRAGMA journal_mode = DELETE");
        if (!mode.step() || mode.columnText(0).compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            refuse(EngineErr::Busy, "The data file is in use by another program.");
    }
    exec("PRAGMA synchronous = FULL");
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

QByteArray SqlCipherDatabase::untouchedAddress(const QString& path)
{
    BW_TRACE("SqlCipherDatabase.cpp", "Function untouchedAddress");
    // Every byte that could be read as part of the address is escaped.
    QByteArray address("file:");
    for (const char c : QFile::encodeName(path)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f || c == '%' || c == '?' || c == '#')
            address += '%' + QByteArray::number(byte, 16).rightJustified(2, '0');
        else
            address += c;
    }
    return address + "?immutable=1";
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
    if (present.isEmpty() || !isTable(m_db))
        refuse(EngineErr::NotADataFile, "The file is not a Lockwell data file: it has no table tblAccount.");
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (!present.contains(column)) {
            throw RuntimeError(EngineErr::NotADataFile,
                               QStringLiteral("The file is not a Lockwell data file: table tblAccount has no column ") +
                                   QLatin1String(DataFileFormat::kColumnNames[size_t(column)]) + QLatin1Char('.'),
                               QStringLiteral("Lockwell"));
        }
    }
    // The records are told apart by their row ids; an unencrypted file is only read for its fields.
    if (m_encrypted && !hasRowIds(m_db))
        refuse(EngineErr::NotADataFile, "The file is not a Lockwell data file: table tblAccount has no row ids.");
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
