#pragma once
// The login dialog: a user name and a master password. A user name never seen before is registered on
// the spot after its password has been typed a second time. Attempts are unlimited: after a refusal the
// dialog stays open with the focus on the password.
//
// Shown modally; afterwards LoginSucceeded tells whether the login values are set. Loading it (on the
// first showing) fills in the last user name, or, when no one has ever logged in, shows the welcome
// dialog first and offers the operating-system user name.
#include "login/LoginProcedure.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class frmLogin;
}
class frmPWconfirm;

class frmLogin : public QDialog
{
    Q_OBJECT

public:
    explicit frmLogin(QWidget* owner = nullptr);
    ~frmLogin() override;

    // True only after a successful login.
    bool LoginSucceeded = false;

    // Loads the dialog when it is not loaded yet, then shows it modally.
    int exec() override;

    // Escape and the close box end the login unsuccessfully.
    void reject() override;

    // The confirmation dialog of the last registration attempt (null before the first one).
    frmPWconfirm* confirmationDialog() const;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    // Enter in the user name box moves on to the password instead of pressing OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool txtUserName_KeyPress(int key);
    bool askConfirmation(QString& confirmation);
    void SelectPassword();

    std::unique_ptr<Ui::frmLogin> ui;
    QPointer<frmPWconfirm> m_confirm;
    LoginProcedure m_procedure;
    bool m_loaded = false;
};
