#pragma once
// The main window's data file commands: New Data File, Open, Open With Password, Save As and Close,
// with the state they share (the open password and the last file closed).
#include "datafile/DataFileConnection.h"

#include <QString>

class DataFileHost;

class DataFileCommands
{
public:
    explicit DataFileCommands(DataFileHost& host);
    ~DataFileCommands();

    // The password typed for Open With Password; empty while the open file uses the login's password.
    // Shut-down skips the compaction while it is set.
    SecretText openPassword;
    // The path of the data file last closed with Close: the initial name of the open dialogs.
    QString lastFile;

    DataFileConnection& connection() { return m_connection; }

    void mnuNewDB_Click();
    void mnuFileOpen_Click();
    void mnuOpenSpecial_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();

    // Closes the open data file as the program ends: its pending record is written whatever password opened
    // it, and a file of the user's own is compacted in place. False when a record could not be written and
    // the user chose to keep the program open (the file then stays open, the change pending).
    bool closeAtShutdown();

private:
    // The "FILE EXISTS!" question for path: vb::vbYes, vb::vbNo or vb::vbCancel.
    int askOverwrite(const QString& path);
    // One round of the save dialog and, for a file that exists, the overwrite question.
    enum class SaveChoice { Cancel, NewFile, Overwrite, AskAgain };
    SaveChoice chooseSaveFile(const QString& title, const QString& filter, QString& path);
    void newDataFile();
    void openSpecial();
    void saveAs();
    void closeDataFile();
    // In-place compaction of the user's own file; a file open for viewing is only closed.
    void compactOrClose();

    DataFileHost& m_host;
    DataFileConnection m_connection;
};
