#pragma once
// Data files for the tests: the template written out, encrypted copies holding chosen records, a snapshot
// of a folder to prove that a refused file was left exactly as it was, and a logged-in user.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class SqlCipherDatabase;

namespace fixtures {

// One record: Account, URL, then optionally further fields in column order.
using Record = QStringList;

// A new encrypted data file at path under password, holding the records in this order.
void makeDataFile(const QString& path, const QString& password, const QList<Record>& records = {});

// An unencrypted database at path with the records (like the template, filled).
void makePlainDataFile(const QString& path, const QList<Record>& records = {});

// User name, master password, key in force and held verifier, as a successful login leaves them.
void logIn(const QString& userName, const QString& masterPassword);

// Every record of the data file, fields joined by "|", in row id order.
QStringList readAccounts(const QString& path, const QString& password);
// The same through a connection the process already has to the file.
QStringList readAccounts(SqlCipherDatabase& db);

// The names, sizes, permissions, times and contents of every file in a folder.
class FolderSnapshot
{
public:
    explicit FolderSnapshot(const QString& folder);
    bool operator==(const FolderSnapshot& other) const { return m_files == other.m_files; }

private:
    QMap<QString, QString> m_files;
};

} // namespace fixtures
