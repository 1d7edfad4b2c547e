#include "datafile/frmImport.h"

#include "crypto/SecureWipe.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "ui_frmImport.h"

namespace {
constexpr char kModule[] = "frmImport.frm";
constexpr int kMinimumLength = 4;
} // namespace

frmImport::frmImport(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::frmImport>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmImport::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmImport::cmdCancel_Click);
}

frmImport::~frmImport()
{
    BW_TRACE(kModule, "Sub Form_Terminate");
    QString typed = ui->txtPassword->text();
    ui->txtPassword->clear();
    secureWipe(typed);
}

SecretText frmImport::password() const
{
    BW_TRACE(kModule, "Function password");
    return SecretText(ui->txtPassword->text());
}

void frmImport::setPassword(const QString& text)
{
    BW_TRACE(kModule, "Sub setPassword");
    ui->txtPassword->setText(text);
}

void frmImport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Load();
}

void frmImport::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] { ui->txtPassword->setFocus(); });
}

void frmImport::cmdOK_Click()
{
    bwHandler(kModule, "Sub cmdOK_Click", [&] {
        if (ui->txtPassword->text().size() < kMinimumLength) {
            MsgBox(QStringLiteral("Password length less than 4 characters\r\nPlease try again!"), vb::vbOKOnly,
                   QStringLiteral("Input FailureLogin"));
            ui->txtPassword->setFocus();
            ui->txtPassword->home(false);
            ui->txtPassword->end(true);
            return;
        }
        Accepted = true;
        done(QDialog::Accepted);
    });
}

void frmImport::cmdCancel_Click()
{
    bwHandler(kModule, "Sub cmdCancel_Click", [&] {
        Accepted = false;
        done(QDialog::Rejected);
    });
}

void frmImport::reject()
{
    BW_TRACE(kModule, "Sub reject");
    cmdCancel_Click();
}
