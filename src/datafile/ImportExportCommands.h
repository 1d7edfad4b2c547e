#pragma once
// The records window's Import and Export: CSV files of other vaults and browsers into the open data file
// (a preview first, then one transaction, then a summary), and the open data file out as Lockwell CSV.
// Export writes every secret in clear: the window asks for the master password before calling it.
class DataFileCommands;
class DataFileHost;
class QByteArray;
class QString;

class ImportExportCommands
{
public:
    ImportExportCommands(DataFileHost& host, DataFileCommands& files) : m_host(host), m_files(files) {}

    // Import...: choose a file, preview it, write it, read the data file in again, tell what was done.
    void importRecords();
    // Export...: choose a file, say it will not be encrypted, write it (0600, atomically).
    void exportRecords();

private:
    bool readInput(const QString& path, QByteArray& data);

    DataFileHost& m_host;
    DataFileCommands& m_files;
};
