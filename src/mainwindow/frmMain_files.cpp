// The data file commands: new, open, open with password, save as, close; connecting at load and the
// compaction at shut-down.
#include "app/LoginValues.h"
#include "crypto/StringCipher.h"
#include "datafile/ConnectionText.h"
#include "datafile/DataControl.h"
#include "datafile/DataFileFormat.h"
#include "datafile/Recordset.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/frmMain.h"
#include "ui_frmMain.h"

#include <QFileInfo>

// The settings header's Encrypt option and the cipher's Encrypt() cannot share a translation unit.
extern QString DBpath;

namespace {
constexpr char kModule[] = "frmMain.frm";
}

bool frmMain::connectDataFile(const QString& password)
{
    BW_TRACE(kModule, "Function DBconnect");
    if (!QFileInfo::exists(DBpath))
        return false;
    const QString key =
        (password.isEmpty() ? Decrypt(LoginValues::heldVerifier()) : password) + QStringLiteral("K7352");
    try {
        dataControl().setConnectionString(ConnectionText::forDataFile(DBpath, key).toString());
        dataControl().setRecordSource(QString::fromLatin1(DataFileFormat::kRecordSource));
        dataControl().refresh();
        recordset()->setSort(QStringLiteral("Account ASC"));
        setStatusPanel(1, QString::number(recordset()->recordCount()) + QStringLiteral(" Accounts stored."));
        DisplayInfo();
        setStatusPanel(2, QFileInfo(DBpath).fileName());
    } catch (const RuntimeError&) {
        DBpath.clear();
        return false;
    }
    UpdateTools(true);
    return true;
}

bool frmMain::compactAndEncrypt(const QString& destination, const QString& sourcePassword)
{
    BW_TRACE(kModule, "Function CompactAndEncrypt");
    Q_UNUSED(destination);
    Q_UNUSED(sourcePassword);
    return false;
}

void frmMain::mnuNewDB_Click()
{
    BW_TRACE(kModule, "Sub mnuNewDB_Click");
}

void frmMain::mnuFileOpen_Click()
{
    BW_TRACE(kModule, "Sub mnuFileOpen_Click");
}

void frmMain::mnuOpenSpecial_Click()
{
    BW_TRACE(kModule, "Sub mnuOpenSpecial_Click");
}

void frmMain::mnuFileSaveAs_Click()
{
    BW_TRACE(kModule, "Sub mnuFileSaveAs_Click");
}

void frmMain::mnuFileClose_Click()
{
    BW_TRACE(kModule, "Sub mnuFileClose_Click");
}
