#include "DataFileFixtures.h"

#include "app/LoginValues.h"
#include "crypto/StringCipher.h"
#include "storage/AccountTable.h"
#include "storage/Compactor.h"
#include "storage/ConnectionText.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/WorkFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

namespace fixtures {

void makeDataFile(const QString& path, const QString& password, const QList<Record>& records)
{
    makePlainDataFile(path, records);
    WorkFolder work(path);
    const QString templatePath = work.filePath(QStringLiteral("DATABASE"));
    if (SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), templatePath) != 0)
        qFatal("the template could not be written");
    Compactor::encryptUnencrypted(path, work, templatePath, SecretText(password));
}

void makePlainDataFile(const QString& path, const QList<Record>& records)
{
    QFile::remove(path);
    const int result = SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), path);
    if (result != 0)
        qFatal("the template could not be written: %d", result);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QByteArray columns;
    QByteArray values;
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        columns += (column ? ", " : "") + QByteArray(DataFileFormat::kColumnNames[size_t(column)]);
        values += (column ? ", ?" : "?") + QByteArray::number(column + 1);
    }
    const QByteArray sql = "INSERT INTO tblAccount (" + columns + ") VALUES (" + values + ")";
    for (const Record& record : records) {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
            sqlite3_bind_text(insert, column + 1, record.value(column).toUtf8().constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            qFatal("a record could not be written");
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);
}

void logIn(const QString& userName, const QString& masterPassword)
{
    LoginValues::setUserName(userName);
    LoginValues::setMasterPassword(SecretText(masterPassword));
    SetKey(masterPassword);
    LoginValues::setHeldVerifier(Encrypt(LoginValues::masterPassword()));
}

QStringList readAccounts(const QString& path, const QString& password)
{
    auto db = SqlCipherDatabase::open(path, SecretText(password), SqlCipherDatabase::Access::ReadOnly);
    return readAccounts(*db);
}

QStringList readAccounts(SqlCipherDatabase& db)
{
    QStringList lines;
    for (const AccountRow& row : AccountTable::loadAll(db)) {
        QStringList fields;
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
            fields << row.field(column).toString();
        while (!fields.isEmpty() && fields.back().isEmpty())
            fields.removeLast();
        lines << fields.join(QLatin1Char('|'));
    }
    return lines;
}

FolderSnapshot::FolderSnapshot(const QString& folder)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries) {
        struct stat st
        {
        };
        ::lstat(QFile::encodeName(info.absoluteFilePath()).constData(), &st);
        QString line = QStringLiteral("size %1 mode %2 mtime %3.%4")
                           .arg(st.st_size)
                           .arg(st.st_mode, 0, 8)
                           .arg(st.st_mtim.tv_sec)
                           .arg(st.st_mtim.tv_nsec);
        QFile file(info.absoluteFilePath());
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            line += QStringLiteral(" sha ") +
                    QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
        m_files.insert(info.fileName(), line);
    }
}

} // namespace fixtures
