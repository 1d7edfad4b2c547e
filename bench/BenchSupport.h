#pragma once
// What the benchmark programs share: a scratch folder that lives as long as the program, and random
// texts and account records of realistic lengths.
#include "storage/AccountRow.h"
#include "storage/Compactor.h"
#include "storage/ResourceFile.h"
#include "storage/SqlCipherDatabase.h"
#include "storage/SqlStatement.h"
#include "storage/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace bench {

inline QTemporaryDir& scratch()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lw-bench-XXXXXX"));
    return dir;
}

inline QString text(QRandomGenerator& random, int minLength, int maxLength)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-_";
    const int length = minLength + int(random.bounded(maxLength - minLength + 1));
    QString s(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        s[i] = QLatin1Char(letters[random.bounded(int(sizeof letters - 1))]);
    return s;
}

// A record as people keep them: short names, a web address, often no extra keys, a little info.
inline AccountRow realisticRecord(QRandomGenerator& random)
{
    AccountRow row;
    row.setField(DataFileFormat::Account, text(random, 4, 30));
    row.setField(DataFileFormat::URL, QStringLiteral("https://www.") + text(random, 5, 25) + QStringLiteral(".com/"));
    row.setField(DataFileFormat::IDtext, text(random, 5, 25));
    row.setField(DataFileFormat::Password, text(random, 10, 20));
    if (random.bounded(2))
        row.setField(DataFileFormat::HINT, text(random, 5, 40));
    if (random.bounded(5) == 0) {
        row.setField(DataFileFormat::Key1_Name, QStringLiteral("PIN"));
        row.setField(DataFileFormat::Key1, text(random, 4, 8));
    }
    row.setField(DataFileFormat::Info, text(random, 0, 200));
    return row;
}

// Realistic records drawn from seed, in an unencrypted data file at plain and an encrypted one under
// password at encrypted.
inline void makeDataFiles(const QString& plain, const QString& encrypted, SecretText password, int records,
                          quint32 seed)
{
    // The unencrypted file is filled through the engine directly: Lockwell itself only ever reads one.
    SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), plain);
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(plain).constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        SqlStatement insert(db, "INSERT INTO tblAccount (Account, URL, IDtext, Password, HINT, Key1_Name, "
                                "Key1, Key2_Name, Key2, Key3_Name, Key3, Key4_Name, Key4, Info) VALUES "
                                "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
        QRandomGenerator random{seed};
        for (int i = 0; i < records; ++i) {
            const AccountRow row = realisticRecord(random);
            for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
                insert.bindText(column + 1, row.field(column));
            insert.step();
            insert.reset();
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // The encrypted file: the unencrypted one's records copied into a data file, as opening it would.
    QFile::copy(plain, encrypted);
    WorkFolder work(encrypted);
    const QString templatePath = work.filePath(QStringLiteral("DATABASE"));
    SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), templatePath);
    Compactor::encryptUnencrypted(encrypted, work, templatePath, std::move(password));
}

} // namespace bench
