#include "login/frmLogin.h"

#include "app/ProgramSettings.h"
#include "app/StringTable.h"
#include "desktop/CapsLockFromTyping.h"
#include "errortrap/Bulwark.h"
#include "login/OsUserName.h"
#include "login/frmFirstUse.h"
#include "login/frmPWconfirm.h"
#include "ui_frmLogin.h"

#include <QKeyEvent>

namespace {
constexpr const char* kModule = "frmLogin.frm";
}

frmLogin::frmLogin(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmLogin>()),
      m_procedure([this](QString& confirmation) { return askConfirmation(confirmation); })
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    ui->txtUserName->installEventFilter(this);
    // Where the keyboard cannot be asked about Caps Lock, the typed password tells.
    CapsLockFromTyping::watch(ui->txtPassword);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
}

frmLogin::~frmLogin()
{
    BW_TRACE(kModule, "Sub Form_Terminate");
    ui->txtPassword->setText(QString());
}

int frmLogin::exec()
{
    BW_TRACE(kModule, "Function exec");
    if (!m_loaded)
        Form_Load();
    return QDialog::exec();
}

void frmLogin::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        m_loaded = true;
        LoadResStrings(this);
        ui->txtUserName->setText(ProgramSettings::lastLoginName());
        if (ui->txtUserName->text().isEmpty()) {
            frmFirstUse welcome(this);
            welcome.exec();
            ui->txtUserName->setText(OsUserName());
        }
        // The first stop of the tab order: the dialog opens ready for the password.
        ui->txtPassword->setFocus();
    });
}

void frmLogin::cmdOK_Click()
{
    bwHandler(kModule, "Sub cmdOK_Click", [&] {
        if (!m_procedure.attempt(ui->txtUserName->text(), SecretText(ui->txtPassword->text()))) {
            SelectPassword();
            return;
        }
        LoginSucceeded = true;
        hide();
    });
}

void frmLogin::cmdCancel_Click()
{
    bwHandler(kModule, "Sub cmdCancel_Click", [&] {
        LoginSucceeded = false;
        hide();
    });
}

void frmLogin::reject()
{
    BW_TRACE(kModule, "Sub reject");
    LoginSucceeded = false;
    QDialog::reject();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->txtUserName && event->type() == QEvent::KeyPress)
        return txtUserName_KeyPress(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

bool frmLogin::txtUserName_KeyPress(int key)
{
    BW_TRACE(kModule, "Function txtUserName_KeyPress");
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Swallowed; the focus moves on as Tab would move it: the password comes after the name.
    ui->txtPassword->setFocus(Qt::TabFocusReason);
    return true;
}

frmPWconfirm* frmLogin::confirmationDialog() const
{
    return m_confirm;
}

bool frmLogin::askConfirmation(QString& confirmation)
{
    BW_TRACE(kModule, "Function askConfirmation");
    if (!m_confirm)
        m_confirm = new frmPWconfirm(this);
    m_confirm->clearConfirmation();
    m_confirm->exec();
    if (!m_confirm)
        return false; // destroyed while it was up
    const bool confirmed = m_confirm->ConfirmOK;
    if (confirmed)
        confirmation = m_confirm->confirmation();
    m_confirm->clearConfirmation();
    return confirmed;
}

void frmLogin::SelectPassword()
{
    BW_TRACE(kModule, "Sub SelectPassword");
    if (!ui->txtPassword->isVisible())
        return;
    ui->txtPassword->setFocus();
    ui->txtPassword->selectAll();
}
