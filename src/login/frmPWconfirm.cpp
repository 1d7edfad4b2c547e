#include "login/frmPWconfirm.h"

#include "desktop/CapsLockFromTyping.h"
#include "errortrap/Bulwark.h"
#include "ui_frmPWconfirm.h"

namespace {
constexpr const char* kModule = "frmPWconfirm.frm";
}

frmPWconfirm::frmPWconfirm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmPWconfirm>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    QFont warningFont = ui->lblWarning->font();
    warningFont.setBold(true);
    ui->lblWarning->setFont(warningFont);
    CapsLockFromTyping::watch(ui->txtPW);
    connect(ui->OKButton, &QPushButton::clicked, this, &frmPWconfirm::OKButton_Click);
    connect(ui->CancelButton, &QPushButton::clicked, this, &frmPWconfirm::CancelButton_Click);
    Form_Load();
}

frmPWconfirm::~frmPWconfirm()
{
    BW_TRACE(kModule, "Sub Form_Terminate");
    ui->txtPW->setText(QString());
}

QString frmPWconfirm::confirmation() const
{
    BW_TRACE(kModule, "Function confirmation");
    return ui->txtPW->text();
}

void frmPWconfirm::clearConfirmation()
{
    BW_TRACE(kModule, "Sub clearConfirmation");
    ui->txtPW->setText(QString()); // unlike clear(), also drops the undo history
    ui->txtPW->setFocus();         // taken when the dialog next shows, whatever had the focus last time
}

void frmPWconfirm::Form_Load()
{
    BW_TRACE(kModule, "Sub Form_Load");
    ui->txtPW->setText(QString());
    if (ui->txtPW->isVisible())
        ui->txtPW->setFocus();
    ConfirmOK = false;
}

void frmPWconfirm::OKButton_Click()
{
    bwHandler(kModule, "Sub OKButton_Click", [&] {
        ConfirmOK = true;
        hide();
    });
}

void frmPWconfirm::CancelButton_Click()
{
    bwHandler(kModule, "Sub CancelButton_Click", [&] {
        ConfirmOK = false;
        hide();
    });
}

void frmPWconfirm::reject()
{
    BW_TRACE(kModule, "Sub reject");
    ConfirmOK = false;
    QDialog::reject();
}
