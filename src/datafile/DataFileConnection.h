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
#include "crypto/SecretText.h"

#include <QString>

class DataFileHost;

class DataFileConnection
{
public:
    explicit DataFileConnection(DataFileHost& host);

    bool DBconnect(const SecretText& password);
    void UpdateLastload(const QString& path);
    bool CompactAndEncrypt(const QString& destination, const SecretText& sourcePassword);

    // The compaction work file for today: the temporary folder, the date as month-day-year and
    // "_LWDcompact.lwd".
    static QString compactionWorkFile();

private:
    // A file that cannot be written opened for viewing only: the status bar and a notice say so.
    void tellOpenForViewing(const QString& path);
    bool compactSteps(const QString& destination, const SecretText& sourcePassword);

    DataFileHost& m_host;
};
