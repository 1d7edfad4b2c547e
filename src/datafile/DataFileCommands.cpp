#include "datafile/DataFileCommands.h"

#include "app/ProgramSettings.h"
#include "datafile/DataFileHost.h"
#include "datafile/RecordWriteNotice.h"
#include "datafile/frmImport.h"
#include "datafile/frmNewFile.h"
#include "desktop/FileDialog.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {
constexpr char kModule[] = "DataFileCommands.cpp";
const QString kOpenFilter = QStringLiteral("Passwords (*.lwd)|*.lwd|All Files (*.*)|*.*");

// Both paths name the same file (also through links or different spellings).
bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
} // namespace

DataFileCommands::DataFileCommands(DataFileHost& host) : m_host(host), m_connection(host)
{
    BW_TRACE(kModule, "Sub DataFileCommands");
}

DataFileCommands::~DataFileCommands()
{
    BW_TRACE(kModule, "Sub ~DataFileCommands");
}

int DataFileCommands::askOverwrite(const QString& path)
{
    BW_TRACE(kModule, "Function askOverwrite");
    return MsgBox(QStringLiteral("THIS FILE ALREADY EXISTS!\r\n\r\nDo You Want To Overwrite:\r\n") + path +
                      QStringLiteral("\r\n"),
                  vb::vbYesNoCancel | vb::vbCritical | vb::vbDefaultButton2, QStringLiteral("FILE EXISTS!"));
}

DataFileCommands::SaveChoice DataFileCommands::chooseSaveFile(const QString& title, const QString& filter,
                                                              QString& path)
{
    BW_TRACE(kModule, "Function chooseSaveFile");
    {
        const SuspendOnTopScope suspended(m_host);
        path = GetSaveFileName(m_host.dialogOwner(), title, filter, 1, QString());
    }
    if (path.isEmpty())
        return SaveChoice::Cancel;
    if (!QFileInfo::exists(path))
        return SaveChoice::NewFile;
    switch (askOverwrite(path)) {
    case vb::vbCancel:
        return SaveChoice::Cancel;
    case vb::vbYes:
        return SaveChoice::Overwrite;
    default:
        return SaveChoice::AskAgain;
    }
}

void DataFileCommands::mnuNewDB_Click()
{
    recordHandler(kModule, "Sub mnuNewDB_Click", m_host.dataControl(), [&] { newDataFile(); });
}

void DataFileCommands::newDataFile()
{
    BW_TRACE(kModule, "Sub newDataFile");
    QString path;
    for (;;) {
        const SaveChoice choice =
            chooseSaveFile(QStringLiteral("Choose Data File to Create"), QStringLiteral("PWdata (*.lwd)|*.lwd"), path);
        if (choice == SaveChoice::Cancel)
            return;
        if (choice != SaveChoice::AskAgain)
            break;
    }
    // A file there (Yes to overwrite it) is replaced only once the new one is complete.
    const DataFileConnection::NewFile made = m_connection.createDataFile(path);
    if (made == DataFileConnection::NewFile::TemplateNotWritten)
        return;
    m_host.dataControl().close(); // the open file's pending record is written before it goes
    Options.DBpath = path;
    openPassword.clear();
    if (made == DataFileConnection::NewFile::Created && m_connection.DBconnect(SecretText()) && !Options.ShowNew) {
        const SuspendOnTopScope suspended(m_host);
        frmNewFile information(m_host.dialogOwner());
        information.exec();
    }
}

void DataFileCommands::mnuFileOpen_Click()
{
    recordHandler(kModule, "Sub mnuFileOpen_Click", m_host.dataControl(), [&] {
        QString path;
        {
            const SuspendOnTopScope suspended(m_host);
            path = GetOpenFileName(m_host.dialogOwner(), QStringLiteral("Open"), kOpenFilter, 1, lastFile);
        }
        if (!path.isEmpty()) {
            m_host.dataControl().close(); // the open file's pending record is written before it goes
            Options.DBpath = path;
            m_connection.DBconnect(SecretText());
        }
    });
}

void DataFileCommands::mnuOpenSpecial_Click()
{
    recordHandler(kModule, "Sub mnuOpenSpecial_Click", m_host.dataControl(), [&] { openSpecial(); });
}

void DataFileCommands::openSpecial()
{
    BW_TRACE(kModule, "Sub openSpecial");
    bool accepted = false;
    {
        const SuspendOnTopScope suspended(m_host);
        frmImport dialog(m_host.dialogOwner());
        dialog.exec();
        openPassword = dialog.password();
        accepted = dialog.Accepted;
    }
    if (!accepted) {
        openPassword.clear();
        return;
    }
    QString path;
    {
        const SuspendOnTopScope suspended(m_host);
        path = GetOpenFileName(m_host.dialogOwner(), QStringLiteral("Open DataFile using Password"), kOpenFilter, 1,
                               lastFile);
    }
    if (path.isEmpty())
        return;                   // the typed password stays the open password
    m_host.dataControl().close(); // the open file's pending record is written before it goes
    Options.DBpath = path;
    if (!m_connection.DBconnect(openPassword))
        openPassword.clear();
}

void DataFileCommands::mnuFileSaveAs_Click()
{
    recordHandler(kModule, "Sub mnuFileSaveAs_Click", m_host.dataControl(), [&] { saveAs(); });
}

void DataFileCommands::saveAs()
{
    BW_TRACE(kModule, "Sub saveAs");
    QString path;
    bool overTheOpenFile = false;
    for (;;) {
        if (!m_host.dataControl().isDataFileOpen())
            return;
        if (!openPassword.isEmpty())
            MsgBox(QStringLiteral("PLEASE NOTE:\r\n\r\nThe DataFile will be saved using your usual Login Password.\r\n"
                                  "NOT the \"open\" password you supplied earlier!"),
                   vb::vbOKOnly | vb::vbExclamation, QStringLiteral("NOTE SAVE PASSWORD!"));
        const SaveChoice choice = chooseSaveFile(QStringLiteral("Save Data File As..."),
                                                 QStringLiteral("Password Files (*.lwd)|*.lwd"), path);
        if (choice == SaveChoice::Cancel)
            return;
        // Saving over the open data file itself compacts it in place; any other file there is replaced
        // once the copy is complete.
        if (choice == SaveChoice::Overwrite)
            overTheOpenFile = isSameFile(path, Options.DBpath);
        if (choice != SaveChoice::AskAgain)
            break;
    }
    const QString destination = overTheOpenFile ? QString() : path;
    if (!openPassword.isEmpty()) {
        if (m_connection.CompactAndEncrypt(destination, openPassword)) {
            Options.DBpath = path;
            m_connection.DBconnect(SecretText());
            openPassword.clear();
        }
        return;
    }
    if (m_connection.CompactAndEncrypt(destination, SecretText())) {
        Options.DBpath = path;
        m_connection.DBconnect(SecretText());
    } else {
        MsgBox(QStringLiteral("SaveAs operation failed"), vb::vbOKOnly | vb::vbCritical,
               QStringLiteral("SAVE AS - FAILURE"));
        m_connection.DBconnect(SecretText());
    }
}

void DataFileCommands::mnuFileClose_Click()
{
    recordHandler(kModule, "Sub mnuFileClose_Click", m_host.dataControl(), [&] { closeDataFile(); });
}

void DataFileCommands::closeDataFile()
{
    BW_TRACE(kModule, "Sub closeDataFile");
    DataControl& adodc1 = m_host.dataControl();
    if (!adodc1.isDataFileOpen())
        return;
    if (openPassword.isEmpty()) {
        lastFile = Options.DBpath;
        compactOrClose();
    } else {
        // A half-entered new record of another user's file is dropped; a changed stored record is written.
        const std::shared_ptr<Recordset> records = adodc1.recordset();
        if (!records->bof() && !records->eof() && records->editMode() == Recordset::EditAdd)
            adodc1.refresh();
        adodc1.close();
    }
    m_host.RefreshTextControls();
    m_host.setStatusPanel(1, QStringLiteral("No Data File Loaded."));
    m_host.setStatusPanel(2, QString());
    m_host.UpdateTools(true);
    m_host.rebindGrid();
    openPassword.clear();
}

void DataFileCommands::compactOrClose()
{
    BW_TRACE(kModule, "Sub compactOrClose");
    // A file open for viewing was not changed, and is left exactly as it is.
    if (m_host.dataControl().isReadOnly())
        m_host.dataControl().close();
    else
        m_connection.CompactAndEncrypt(QString(), SecretText());
}

bool DataFileCommands::closeAtShutdown()
{
    BW_TRACE(kModule, "Function closeAtShutdown");
    DataControl& adodc1 = m_host.dataControl();
    for (;;) {
        try {
            if (openPassword.isEmpty())
                compactOrClose();
            else
                adodc1.close(); // another user's file is not compacted, but its pending record is written
            return true;
        } catch (const RecordWriteError& error) {
            if (error.isConflict()) {
                RecordWriteNotice::handle(error, adodc1); // the user decides which version stays; then again
                continue;
            }
            if (!RecordWriteNotice::closeAnyway(error, adodc1))
                return false;
            adodc1.recordset()->cancelUpdate(); // the user chose to lose it
        }
    }
}
