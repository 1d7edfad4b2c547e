#pragma once
// The main window's data control Adodc1: a connection (its text and password), a record source, and the record set that
// refresh() reads through them. A refresh always gives a fresh record set without filter or sort;
// while the connection stays the same the open connection is reused (no second key derivation).
// The record set a refresh replaces is closed, dropping any pending change. After a failed refresh
// the control holds no record set.
//
// Closing is different: every way a data file is closed (the Close command, shut-down, opening or
// creating another file, Save As) goes through close(), which writes the current record's pending
// change first, whatever password opened the file.
//
// A data file that cannot be written (the file or its folder is read-only) opens for viewing only.
#include "storage/ConnectionText.h"

#include <QObject>
#include <QString>
#include <memory>

class Recordset;
class SqlCipherDatabase;

class DataControl : public QObject
{
    Q_OBJECT

public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;

    // Setting a different connection (text or password) closes the open data file (close()) and lets go of
    // its connection.
    void setConnection(ConnectionText connection);
    const ConnectionText& connection() const { return m_connectionText; }
    void setRecordSource(const QString& source);
    QString recordSource() const { return m_recordSource; }

    // Opens the data file of the connection text when needed and reads a fresh record set. The only
    // record source is "Select * from tblAccount" (any letter case and spacing). Failures raise a
    // RuntimeError with the engine's number and description.
    void refresh();

    // The current record set, or null. Holders may keep it: it stays valid (closed or not) for them.
    std::shared_ptr<Recordset> recordset() const { return m_recordset; }
    // Closes and drops the record set the control holds.
    void releaseRecordset();

    // Closes the open data file: writes the current record's pending change (a record without an account
    // name is dropped instead), closes the record set and detaches it from its connection (it stays, closed),
    // and empties the connection and the record source. A write that fails raises RecordWriteError and
    // leaves the file open and the change pending. Nothing happens while no data file is open.
    void close();

    // A data file is open: a record set exists and has an active connection.
    bool isDataFileOpen() const;
    // The open data file could not be opened for writing: it is open for viewing only.
    bool isReadOnly() const;

    // The open data file's connection, for work on the whole file (an import, an export); null while no
    // data file is open.
    SqlCipherDatabase* database() const { return isDataFileOpen() ? m_connection.get() : nullptr; }

    // The open connection's count of commits by other connections (SqlCipherDatabase::dataVersion);
    // -1 without a connection.
    qint64 dataVersion() const;

Q_SIGNALS:
    // The control holds another record set (or none).
    void recordsetChanged();

private:
    void dropConnection();
    void retireRecordset();

    ConnectionText m_connectionText;
    QString m_recordSource;
    std::shared_ptr<SqlCipherDatabase> m_connection;
    std::shared_ptr<Recordset> m_recordset;
    // The record set replaced by the last refresh, kept one refresh longer: a refresh may be started
    // from a slot that the old set's own signal is still running.
    std::shared_ptr<Recordset> m_retired;
};
