// The record boxes: copying a field, revealing a secret for PeekTime seconds, the password generator,
// the browser, the information box and the clearing of the boxes after a file was closed.
#include "datafile/RecordWriteNotice.h"
#include "desktop/Browser.h"
#include "desktop/SuspendOnTop.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/RecordBinder.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"
#include "tools/frmRandomiser.h"
#include "ui_frmMain.h"

namespace {
constexpr char kModule[] = "frmMain.frm";

// Shows a text in the information box, a little way down from its top.
void showInformText(QPlainTextEdit* box, const QString& text)
{
    BW_TRACE(kModule, "Sub showInformText");
    box->setPlainText(text);
    box->document()->setDocumentMargin(box->fontMetrics().lineSpacing() * 3);
    box->setVisible(true);
}
} // namespace

// While the window is locked the master password comes first; given, it lifts the lock.
void frmMain::revealBox(QLineEdit* box)
{
    BW_TRACE(kModule, "Sub revealBox");
    m_reveal->reveal(box, [&] {
        if (!Locked())
            return true;
        if (!ConfirmPassword())
            return false;
        box->setEnabled(true);
        hideUnlockButton();
        InitTimer();
        return true;
    });
}

void frmMain::cmdAccount_Click()
{
    bwHandler(kModule, "Sub cmdAccount_Click", [&] { m_reveal->copy(RecordBinder::textOf(ui->txtAccount)); });
}

void frmMain::cmdURL_Click()
{
    bwHandler(kModule, "Sub cmdURL_Click", [&] { m_reveal->copy(RecordBinder::textOf(ui->txtURL)); });
}

void frmMain::cmdName_Click()
{
    bwHandler(kModule, "Sub cmdName_Click", [&] { m_reveal->copy(RecordBinder::textOf(ui->txtID)); });
}

void frmMain::cmdHint_Click()
{
    bwHandler(kModule, "Sub cmdHint_Click", [&] { m_reveal->copy(RecordBinder::textOf(ui->txtHint)); });
}

void frmMain::cmdInfo_Click()
{
    bwHandler(kModule, "Sub cmdInfo_Click", [&] { m_reveal->copy(RecordBinder::textOf(ui->txtINFO)); });
}

void frmMain::cmdSP_Click()
{
    bwHandler(kModule, "Sub cmdSP_Click", [&] { revealBox(ui->txtPW); });
}

void frmMain::cmdKey1_Click()
{
    bwHandler(kModule, "Sub cmdKey1_Click", [&] { revealBox(ui->txtKey1); });
}

void frmMain::cmdKey2_Click()
{
    bwHandler(kModule, "Sub cmdKey2_Click", [&] { revealBox(ui->txtKey2); });
}

void frmMain::cmdKey3_Click()
{
    bwHandler(kModule, "Sub cmdKey3_Click", [&] { revealBox(ui->txtKey3); });
}

void frmMain::cmdKey4_Click()
{
    bwHandler(kModule, "Sub cmdKey4_Click", [&] { revealBox(ui->txtKey4); });
}

void frmMain::Timer1_Timer()
{
    bwHandler(kModule, "Sub Timer1_Timer", [&] { m_reveal->endReveal(); });
}

void frmMain::cmdRP_Click()
{
    recordHandler(kModule, "Sub cmdRP_Click", dataControl(), [&] {
        QString password;
        bool accepted = false;
        {
            const SuspendOnTopScope suspended(*this);
            accepted = frmRandomiser::run(this, password);
        }
        if (!accepted)
            return;
        RecordBinder::setTextOf(ui->txtPW, password);
        m_binder->markChanged(ui->txtPW);
        const auto records = recordset();
        if (!records)
            return;
        // Every box shows the record as it was stored. A record without an account name is not written:
        // the password stays pending with it until the record is named.
        if (records->update() && !records->eof()) {
            records->moveNext();
            records->movePrevious();
        }
        if (ui->txtPW->isVisible())
            ui->txtPW->setFocus();
        ui->txtPW->setSelection(0, int(ui->txtPW->text().size()));
    });
}

void frmMain::cmdGoUrl_Click()
{
    BW_TRACE(kModule, "Sub cmdGoUrl_Click");
    try {
        StartURL(ui->txtURL->text());
    } catch (...) {
        // Opening the page is a convenience: whatever stops it is not reported.
    }
}

void frmMain::DisplayInfo()
{
    BW_TRACE(kModule, "Sub DisplayInfo");
    const auto records = recordset();
    if (!records || !records->hasActiveConnection()) {
        showInformText(ui->txtDataInform,
                       QStringLiteral("NO DATA FILE LOADED\r\nPlease OPEN or create a NEW data file."));
    } else if (records->recordCount() == 0) {
        showInformText(ui->txtDataInform,
                       QStringLiteral("NO RECORDS STORED\r\nClick the ADD NEW button to\r\ncreate the first record."));
    } else {
        ui->txtDataInform->setVisible(false);
    }
}

void frmMain::RefreshTextControls()
{
    BW_TRACE(kModule, "Sub RefreshTextControls");
    if (isDataFileOpen())
        return;
    m_reveal->withdrawSecret(); // a secret of the closed file leaves the clipboard too
    const QList<QWidget*> boxes = {ui->txtAccount,   ui->txtPW,        ui->txtURL,       ui->txtID,        ui->txtHint,
                                   ui->txtINFO,      ui->txtKey1Label, ui->txtKey1,      ui->txtKey2Label, ui->txtKey2,
                                   ui->txtKey3Label, ui->txtKey3,      ui->txtKey4Label, ui->txtKey4};
    for (QWidget* box : boxes) {
        m_binder->detach(box);
        RecordBinder::setTextOf(box, QString());
        m_binder->attach(box);
    }
}
