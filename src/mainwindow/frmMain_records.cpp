// The record boxes: copying a field, revealing a secret for PeekTime seconds, the password generator,
// the browser, the information box and the clearing of the boxes after a file was closed.
#include "app/ProgramSettings.h"
#include "desktop/Browser.h"
#include "desktop/Clipboard.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/MainGlobals.h"
#include "mainwindow/RecordBinder.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"
#include "tools/frmRandomiser.h"
#include "ui_frmMain.h"

#include <algorithm>

namespace {
constexpr char kModule[] = "frmMain.frm";

// The longest reveal the reveal timer's interval can hold, in seconds.
constexpr int kLongestPeek = 32;

const char* const kSecretBoxes[] = {"txtPW", "txtKey1", "txtKey2", "txtKey3", "txtKey4"};

// Sets SuspendOnTop for the life of a modal dialog.
class SuspendOnTopScope
{
public:
    SuspendOnTopScope() { SuspendOnTop = true; }
    ~SuspendOnTopScope() { SuspendOnTop = false; }
    SuspendOnTopScope(const SuspendOnTopScope&) = delete;
    SuspendOnTopScope& operator=(const SuspendOnTopScope&) = delete;
};
} // namespace

QLineEdit* frmMain::lineBox(const char* name) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void frmMain::setMasked(QLineEdit* box, bool masked)
{
    BW_TRACE(kModule, "Sub setMasked");
    box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

void frmMain::maskAllSecrets(bool masked)
{
    BW_TRACE(kModule, "Sub maskAllSecrets");
    for (const char* name : kSecretBoxes)
        setMasked(lineBox(name), masked);
}

void frmMain::copyBox(const char* box)
{
    BW_TRACE(kModule, "Sub copyBox");
    clearClipboard();
    setClipboardText(boxText(box), false);
}

void frmMain::revealBox(const char* name)
{
    BW_TRACE(kModule, "Sub revealBox");
    QLineEdit* box = lineBox(name);
    clearClipboard();
    if (Locked) {
        if (!ConfirmPassword())
            return;
        box->setEnabled(true);
        ui->cmdPassword->setEnabled(false);
        ui->cmdPassword->setVisible(false);
        InitTimer();
    }
    setMasked(box, false);
    setClipboardText(box->text(), true);
    // One timer serves all five boxes: a second reveal gives the full time again from now.
    const int seconds = std::clamp<int>(PeekTime, 1, kLongestPeek);
    Timer1.start(seconds * 1000);
}

void frmMain::cmdAccount_Click()
{
    bwHandler(kModule, "Sub cmdAccount_Click", [&] { copyBox("txtAccount"); });
}

void frmMain::cmdURL_Click()
{
    bwHandler(kModule, "Sub cmdURL_Click", [&] { copyBox("txtURL"); });
}

void frmMain::cmdName_Click()
{
    bwHandler(kModule, "Sub cmdName_Click", [&] { copyBox("txtID"); });
}

void frmMain::cmdHint_Click()
{
    bwHandler(kModule, "Sub cmdHint_Click", [&] { copyBox("txtHint"); });
}

void frmMain::cmdInfo_Click()
{
    bwHandler(kModule, "Sub cmdInfo_Click", [&] { copyBox("txtINFO"); });
}

void frmMain::cmdSP_Click()
{
    bwHandler(kModule, "Sub cmdSP_Click", [&] { revealBox("txtPW"); });
}

void frmMain::cmdKey1_Click()
{
    bwHandler(kModule, "Sub cmdKey1_Click", [&] { revealBox("txtKey1"); });
}

void frmMain::cmdKey2_Click()
{
    bwHandler(kModule, "Sub cmdKey2_Click", [&] { revealBox("txtKey2"); });
}

void frmMain::cmdKey3_Click()
{
    bwHandler(kModule, "Sub cmdKey3_Click", [&] { revealBox("txtKey3"); });
}

void frmMain::cmdKey4_Click()
{
    bwHandler(kModule, "Sub cmdKey4_Click", [&] { revealBox("txtKey4"); });
}

void frmMain::Timer1_Timer()
{
    bwHandler(kModule, "Sub Timer1_Timer", [&] {
        Timer1.stop();
        Timer1.setInterval(0);
        maskAllSecrets(true);
    });
}

void frmMain::MaskAfterOptions()
{
    BW_TRACE(kModule, "Sub MaskAfterOptions");
    Timer1.stop();
    Timer1.setInterval(0);
    maskAllSecrets(PeekOn);
}

void frmMain::cmdRP_Click()
{
    bwHandler(kModule, "Sub cmdRP_Click", [&] {
        QString password;
        bool accepted = false;
        {
            const SuspendOnTopScope suspended;
            accepted = frmRandomiser::run(this, password);
        }
        if (!accepted)
            return;
        RecordBinder::setTextOf(ui->txtPW, password);
        m_binder->markChanged(ui->txtPW);
        const auto records = recordset();
        if (!records)
            return;
        records->update();
        // Every box shows the record as it was stored.
        if (!records->eof()) {
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

// Shows a text in the information box, a little way down from its top.
void frmMain::showInformText(const QString& text)
{
    BW_TRACE(kModule, "Sub showInformText");
    ui->txtDataInform->setPlainText(text);
    ui->txtDataInform->document()->setDocumentMargin(ui->txtDataInform->fontMetrics().lineSpacing() * 3);
    ui->txtDataInform->setVisible(true);
}

void frmMain::DisplayInfo()
{
    BW_TRACE(kModule, "Sub DisplayInfo");
    const auto records = recordset();
    if (!records || !records->hasActiveConnection()) {
        showInformText(QStringLiteral("NO DATA FILE LOADED\r\nPlease OPEN or create a NEW data file."));
    } else if (records->recordCount() == 0) {
        showInformText(QStringLiteral("NO RECORDS STORED\r\nClick the ADD NEW button to\r\ncreate the first record."));
    } else {
        ui->txtDataInform->setVisible(false);
    }
}

void frmMain::RefreshTextControls()
{
    BW_TRACE(kModule, "Sub RefreshTextControls");
    if (isDataFileOpen())
        return;
    const QList<QWidget*> boxes = {ui->txtAccount,   ui->txtPW,        ui->txtURL,       ui->txtID,        ui->txtHint,
                                   ui->txtINFO,      ui->txtKey1Label, ui->txtKey1,      ui->txtKey2Label, ui->txtKey2,
                                   ui->txtKey3Label, ui->txtKey3,      ui->txtKey4Label, ui->txtKey4};
    for (QWidget* box : boxes) {
        m_binder->detach(box);
        RecordBinder::setTextOf(box, QString());
        m_binder->attach(box);
    }
}
