#pragma once
// A data file as a command uses it: looked at before a password is asked for, opened with the data file
// password of the master password typed, its records listed in account order as the window lists them.
// Every refusal is a failure whose one line says what is wrong with the file; a refusal writes nothing.
#include "cli/CliFailure.h"

#include <QString>
#include <memory>

class Recordset;
class RuntimeError;
class SecretPrompt;
class SecretText;
class SqlCipherDatabase;

class CliDataFile
{
public:
    // Fails unless path is an encrypted data file that can be read and written. A file that cannot be
    // written is refused by the reading commands too: the engine would leave its log files beside it.
    static void requireUsable(const QString& path);
    // The failure for an error of the engine or the record set on the data file at path.
    static CliFailure failureFor(const QString& path, const RuntimeError& error);

    // Checks the file, asks for the master password and reads every record.
    CliDataFile(const QString& path, SecretPrompt& prompt);
    ~CliDataFile();

    const QString& path() const { return m_path; }
    SqlCipherDatabase& database() { return *m_database; }
    Recordset& records() { return *m_records; }

    // The row of the one record named account: compared exactly, or without regard to letter case when
    // no name is the same. When several records share the name, url (unless null) chooses among them;
    // failing that, the command fails and lists them.
    int chooseRecord(const QString& account, const QString& url, const char* urlOption) const;

private:
    QString m_path;
    std::shared_ptr<SqlCipherDatabase> m_database;
    std::unique_ptr<Recordset> m_records;
};

// The master password's prompt for a file.
QString masterPasswordPrompt(const QString& path);
// Opens the data file at path for a short use (a check or a compaction's source), with the same checks and
// failures as CliDataFile.
std::unique_ptr<SqlCipherDatabase> openDataFile(const QString& path, const SecretText& master);
