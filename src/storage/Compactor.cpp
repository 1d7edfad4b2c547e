#include "storage/Compactor.h"

#include "storage/ConnectionText.h"
#include "storage/DataFileProbe.h"
#include "storage/EngineError.h"
#include "storage/FileSafety.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr char kModule[] = "Compactor.cpp";

void exportInto(SqlCipherDatabase& db, const QString& targetPath, const SecretText& targetPassword)
{
    BW_TRACE(kModule, "Sub exportInto");
    {
        const SecretBytes key = targetPassword.toUtf8();
        const QByteArray path = QFile::encodeName(targetPath);
        SqlStatement attach(db.handle(), "ATTACH DATABASE ?1 AS lwcompact KEY ?2");
        attach.bindBlob(1, path.constData(), int(path.size()));
        if (key.isEmpty())
            attach.bindText(2, QStringView()); // an empty key: the copy is not encrypted
        else
            attach.bindBlob(2, key.data(), key.size());
        attach.step();
    }
    if (!targetPassword.isEmpty())
        SqlCipherDatabase::applyCipherSettings(db.handle(), "lwcompact");
    // The copy is synced once when complete; a crash before that leaves a work file nobody uses.
    db.exec("PRAGMA lwcompact.journal_mode = OFF");
    db.exec("PRAGMA lwcompact.synchronous = OFF");
    db.exec("SELECT sqlcipher_export('lwcompact')");
    db.exec("DETACH DATABASE lwcompact");
}
} // namespace

namespace Compactor {

void compactDatabase(const ConnectionText& source, const ConnectionText& target)
{
    BW_TRACE(kModule, "Sub compactDatabase");
    const QString targetPath = target.dataSource();
    if (targetPath.isEmpty() || QFileInfo(targetPath).exists() || QFileInfo(targetPath).isSymLink())
        throw RuntimeError(EngineErr::DatabaseExists,
                           QStringLiteral("The compacted copy cannot be written: the file already exists."),
                           QStringLiteral("Lockwell"));
    // Opening rolls back a crashed write first.
    std::unique_ptr<SqlCipherDatabase> db = SqlCipherDatabase::open(source.dataSource(), source.password());

    FileSafety::createPrivateFile(targetPath);
    try {
        exportInto(*db, targetPath, target.password());
        db.reset();
        FileSafety::syncFile(targetPath);
    } catch (...) {
        db.reset();
        FileSafety::removeFile(targetPath);
        throw;
    }
}

void replaceDataFile(const QString& copy, const QString& dataFile)
{
    BW_TRACE(kModule, "Sub replaceDataFile");
    for (const char* suffix : {"-wal", "-journal"}) {
        if (QFileInfo::exists(dataFile + QLatin1String(suffix)))
            throw RuntimeError(EngineErr::Busy,
                               QStringLiteral("The data file is in use by another program and cannot be replaced."),
                               QStringLiteral("Lockwell"));
    }
    FileSafety::replaceAtomically(copy, dataFile);
}

} // namespace Compactor
