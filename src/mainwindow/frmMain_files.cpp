// The data file commands and the window's side of them: new, open, open with password, save as,
// close; connecting at load and compacting at shut-down.
#include "datafile/DataFileCommands.h"
#include "datafile/ImportExportCommands.h"
#include "datafile/RecordWriteNotice.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/OnTopKeeper.h"
#include "mainwindow/frmMain.h"
#include "storage/DataControl.h"
#include "ui_frmMain.h"

namespace {
constexpr char kModule[] = "frmMain.frm";
}

bool frmMain::DBconnect(const SecretText& password)
{
    BW_TRACE(kModule, "Function DBconnect");
    return m_files->connection().DBconnect(password);
}

void frmMain::mnuNewDB_Click()
{
    BW_TRACE(kModule, "Sub mnuNewDB_Click");
    m_files->mnuNewDB_Click();
}

void frmMain::mnuFileOpen_Click()
{
    BW_TRACE(kModule, "Sub mnuFileOpen_Click");
    m_files->mnuFileOpen_Click();
}

void frmMain::mnuOpenSpecial_Click()
{
    BW_TRACE(kModule, "Sub mnuOpenSpecial_Click");
    m_files->mnuOpenSpecial_Click();
}

void frmMain::mnuFileSaveAs_Click()
{
    BW_TRACE(kModule, "Sub mnuFileSaveAs_Click");
    m_files->mnuFileSaveAs_Click();
}

void frmMain::mnuFileClose_Click()
{
    BW_TRACE(kModule, "Sub mnuFileClose_Click");
    m_files->mnuFileClose_Click();
}

void frmMain::mnuFileImport_Click()
{
    recordHandler(kModule, "Sub mnuFileImport_Click", dataControl(), [&] { m_exchange->importRecords(); });
}

void frmMain::mnuFileExport_Click()
{
    recordHandler(kModule, "Sub mnuFileExport_Click", dataControl(), [&] {
        if (!dataControl().isDataFileOpen())
            return;
        // The file holds every secret in clear: the user proves again who they are first, as for printing.
        if (!ConfirmPassword())
            return;
        m_exchange->exportRecords();
    });
}

void frmMain::removeExtraGridColumns()
{
    // The grid's model has only the Account and URL columns: there is never another to remove.
    BW_TRACE(kModule, "Sub removeExtraGridColumns");
}

void frmMain::rebindGrid()
{
    BW_TRACE(kModule, "Sub rebindGrid");
    m_gridModel->setRecordset(nullptr);
    m_gridModel->setRecordset(recordset());
    syncGridToRecord();
    ui->DataGrid1->viewport()->update();
}

void frmMain::focusGrid()
{
    BW_TRACE(kModule, "Sub focusGrid");
    ui->DataGrid1->setFocus(Qt::OtherFocusReason);
}

bool frmMain::SuspendOnTop() const
{
    return m_onTop->SuspendOnTop();
}

void frmMain::setSuspendOnTop(bool suspend)
{
    BW_TRACE(kModule, "Sub setSuspendOnTop");
    m_onTop->setSuspendOnTop(suspend);
}
