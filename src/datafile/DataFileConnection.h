#pragma once
// Connecting the main window to the data file at DBpath, and compacting a data file into an encrypted
// copy under the login's password.
//
//   DBconnect(password)      opens DBpath (with the given password, else the login's); false when it
//                            could not, after the message box that says why
//   UpdateLastload(path)     the file's name in status panel 2
//   CompactAndEncrypt(destination, sourcePassword)
//                            closes the record set and compacts DBpath into destination, or in place
//                            when destination is empty
//   createDataFile(path)     closes the record set and writes a new, empty data file at path
//
// DBpath is always kept as the absolute path of the file itself (links followed). An unencrypted file is
// opened by copying its accounts into an encrypted data file that takes its place, and the user is told.
#include "crypto/SecretText.h"

#include <QString>

class DataFileHost;
class RuntimeError;

class DataFileConnection
{
public:
    explicit DataFileConnection(DataFileHost& host);

    bool DBconnect(const SecretText& password);
    void UpdateLastload(const QString& path);
    bool CompactAndEncrypt(const QString& destination, const SecretText& sourcePassword);

    enum class NewFile { TemplateNotWritten, Failed, Created };
    // The template written beside path (nothing else happens when it cannot be: TemplateNotWritten), the
    // open record set closed with its current record written, and a new data file encrypted under the
    // login's password from its first byte put at path. A failure after the template shows the
    // compaction's message; nothing unencrypted is ever left at path.
    NewFile createDataFile(const QString& path);

private:
    // A file that cannot be written opened for viewing only: the status bar and a notice say so.
    void tellOpenForViewing(const QString& path);
    bool compactSteps(const QString& destination, const SecretText& sourcePassword);
    // Writes the current record unless it is deleted, closes the record set and lets go of the file (the
    // control's connection too).
    void closeRecordset();
    void encryptUnprotectedFile(const QString& path, const SecretText& filePassword);
    void showCompactError(const RuntimeError& error);

    DataFileHost& m_host;
};
