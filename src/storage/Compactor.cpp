#include "storage/Compactor.h"

#include "storage/ConnectionText.h"
#include "storage/DataFileFormat.h"
#include "storage/DataFileLock.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/SqlStatement.h"
#include "storage/WorkFolder.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {
constexpr char kModule[] = "Compactor.cpp";

void exec(sqlite3* db, const char* sql)
{
    throwIfEngineError(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

// Attaches a database file under a name of ours (a fixed word, never a value from outside); key is
// bound as given, an empty one meaning no encryption.
void attach(sqlite3* db, const QByteArray& address, const char* sql, const SecretText& password)
{
    BW_TRACE(kModule, "Sub attach");
    const SecretBytes key = password.toUtf8();
    SqlStatement statement(db, sql);
    statement.bindBlob(1, address.constData(), int(address.size()));
    if (key.isEmpty())
        statement.bindText(2, QStringView());
    else
        statement.bindBlob(2, key.data(), key.size());
    statement.step();
}

// Exports the main database of db into a new file at targetPath under targetPassword (not encrypted
// when it is empty), leaving the copy attached as "lwcompact".
void exportInto(sqlite3* db, const QString& targetPath, const SecretText& targetPassword)
{
    BW_TRACE(kModule, "Sub exportInto");
    attach(db, QFile::encodeName(targetPath), "ATTACH DATABASE ?1 AS lwcompact KEY ?2", targetPassword);
    if (!targetPassword.isEmpty())
        SqlCipherDatabase::applyCipherSettings(db, "lwcompact");
    // The copy is synced once when complete; a crash before that leaves a work file nobody uses.
    exec(db, "PRAGMA lwcompact.journal_mode = OFF");
    exec(db, "PRAGMA lwcompact.synchronous = OFF");
    exec(db, "SELECT sqlcipher_export('lwcompact')");
}

// Runs write into a new private file at target, synced when write is done and removed when it fails.
template <class Write> void writeNewFile(const QString& target, Write write)
{
    BW_TRACE(kModule, "Sub writeNewFile");
    if (target.isEmpty() || QFileInfo(target).exists() || QFileInfo(target).isSymLink())
        throw RuntimeError(EngineErr::DatabaseExists,
                           QStringLiteral("The compacted copy cannot be written: the file already exists."),
                           QStringLiteral("Lockwell"));
    FileSafety::createPrivateFile(target);
    try {
        write();
        FileSafety::syncFile(target);
    } catch (...) {
        FileSafety::removeFile(target);
        throw;
    }
}

// A writable connection to our own copy of the template, the main database a new data file is exported
// from. Other databases are attached to it by address.
class TemplateConnection
{
public:
    explicit TemplateConnection(const QString& path)
    {
        BW_TRACE(kModule, "Sub TemplateConnection");
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
        const int rc =
            sqlite3_open_v2(QFile::encodeName(QFileInfo(path).absoluteFilePath()).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const RuntimeError error = engineError(rc, m_db);
            sqlite3_close_v2(m_db);
            throw error;
        }
    }
    ~TemplateConnection() { sqlite3_close_v2(m_db); }
    TemplateConnection(const TemplateConnection&) = delete;
    TemplateConnection& operator=(const TemplateConnection&) = delete;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// The fourteen columns, as a list for a statement.
QByteArray columnList()
{
    QByteArray list;
    for (const char* name : DataFileFormat::kColumnNames)
        list += (list.isEmpty() ? "" : ", ") + QByteArray(name);
    return list;
}

// Another program writing the file (its journal or log beside it) would find its writes in a file that
// is no longer there.
void refuseWhileWritten(const QString& dataFile)
{
    for (const char* suffix : {"-wal", "-journal"}) {
        if (QFileInfo::exists(dataFile + QLatin1String(suffix)))
            throw RuntimeError(EngineErr::Busy,
                               QStringLiteral("The data file is in use by another program and cannot be replaced."),
                               QStringLiteral("Lockwell"));
    }
}
} // namespace

namespace Compactor {

QString workFileName()
{
    BW_TRACE(kModule, "Function workFileName");
    return QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("_LWDcompact.lwd");
}

void compactDatabase(const ConnectionText& source, const ConnectionText& target, SqlCipherDatabase::Locking locking)
{
    BW_TRACE(kModule, "Sub compactDatabase");
    const QString targetPath = target.dataSource();
    // Opening rolls back a crashed write first.
    std::unique_ptr<SqlCipherDatabase> db =
        SqlCipherDatabase::open(source.dataSource(), source.password(), SqlCipherDatabase::Access::ReadWrite,
                                SqlCipherDatabase::Sharing::DenyNone, locking);
    writeNewFile(targetPath, [&] {
        try {
            exportInto(db->handle(), targetPath, target.password());
            db.reset(); // closes the copy too
        } catch (...) {
            db.reset();
            throw;
        }
    });
}

void compactInPlace(const QString& path, const SecretText& sourcePassword, const SecretText& targetPassword)
{
    BW_TRACE(kModule, "Sub compactInPlace");
    const QString dataFile = FileSafety::resolvedPath(path);
    const DataFileLock lock = DataFileLock::lock(dataFile, DataFileLock::Mode::Exclusive);
    WorkFolder work(dataFile);
    const QString copy = work.filePath(workFileName());
    compactDatabase(ConnectionText::forCompactSource(dataFile, sourcePassword.copy()),
                    ConnectionText::forCompactTarget(copy, targetPassword.copy()),
                    SqlCipherDatabase::Locking::HeldByCaller);
    refuseWhileWritten(dataFile);
    FileSafety::replaceWithRename(copy, dataFile);
}

void compactInto(const QString& source, const SecretText& sourcePassword, const QString& destination,
                 const SecretText& targetPassword)
{
    BW_TRACE(kModule, "Sub compactInto");
    WorkFolder work(destination);
    const QString copy = work.filePath(workFileName());
    compactDatabase(ConnectionText::forCompactSource(source, sourcePassword.copy()),
                    ConnectionText::forCompactTarget(copy, targetPassword.copy()));
    replaceDataFile(copy, destination);
}

void createFromTemplate(const QString& templatePath, const QString& target, const SecretText& password)
{
    BW_TRACE(kModule, "Sub createFromTemplate");
    TemplateConnection source(templatePath);
    writeNewFile(target, [&] {
        exportInto(source.handle(), target, password);
        exec(source.handle(), "DETACH DATABASE lwcompact");
    });
}

void encryptUnencrypted(const QString& path, WorkFolder& work, const QString& templatePath, const SecretText& password)
{
    BW_TRACE(kModule, "Sub encryptUnencrypted");
    const QString plainFile = FileSafety::resolvedPath(path);
    const DataFileLock lock = DataFileLock::lock(plainFile, DataFileLock::Mode::Exclusive);
    // Read as it lies and checked before anything is written: a refused file stays exactly as it was.
    SqlCipherDatabase::open(plainFile, SecretText(), SqlCipherDatabase::Access::ReadOnly,
                            SqlCipherDatabase::Sharing::DenyNone, SqlCipherDatabase::Locking::HeldByCaller);
    const QString copy = work.filePath(workFileName());
    TemplateConnection source(templatePath);
    writeNewFile(copy, [&] {
        exportInto(source.handle(), copy, password);
        attach(source.handle(), SqlCipherDatabase::untouchedAddress(plainFile), "ATTACH DATABASE ?1 AS lwplain KEY ?2",
               SecretText());
        const QByteArray columns = columnList();
        const QByteArray copyRows =
            "INSERT INTO lwcompact.tblAccount (" + columns + ") SELECT " + columns + " FROM lwplain.tblAccount";
        exec(source.handle(), copyRows.constData());
        exec(source.handle(), "DETACH DATABASE lwplain");
        exec(source.handle(), "DETACH DATABASE lwcompact");
    });
    refuseWhileWritten(plainFile);
    // Whoever could read the plain file: the data file that takes its place is its owner's only.
    FileSafety::replaceWithRename(copy, plainFile, FileSafety::Permissions::OwnerOnly);
}

void replaceDataFile(const QString& copy, const QString& dataFile)
{
    BW_TRACE(kModule, "Sub replaceDataFile");
    const QString target = FileSafety::resolvedPath(dataFile);
    DataFileLock lock;
    if (QFileInfo::exists(target))
        lock = DataFileLock::lock(target, DataFileLock::Mode::Exclusive);
    refuseWhileWritten(target);
    FileSafety::replaceWithRename(copy, target);
}

} // namespace Compactor
