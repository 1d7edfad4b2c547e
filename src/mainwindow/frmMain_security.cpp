// The security time-out: the one-minute tick that locks the window after a spell without record activity,
// the unlock button, the confirmation of the master password, and the options command, which re-applies
// the options to the window after the dialog closes.
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "crypto/SecureWipe.h"
#include "desktop/MessageBox.h"
#include "desktop/SuspendOnTop.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/frmPWconfirm.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/frmMain.h"
#include "tools/frmOptions.h"
#include "ui_frmMain.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QToolBar>

namespace {
constexpr char kModule[] = "frmMain.frm";

QList<std::optional<QString>>& queuedConfirmations()
{
    static QList<std::optional<QString>> answers;
    return answers;
}

// Shows the confirmation dialog, or gives it the next queued answer instead.
void askForPassword(frmPWconfirm& dialog)
{
    BW_TRACE(kModule, "Sub askForPassword");
    if (queuedConfirmations().isEmpty()) {
        dialog.exec();
        return;
    }
    const std::optional<QString> answer = queuedConfirmations().takeFirst();
    if (!answer)
        return;
    dialog.findChild<QLineEdit*>(QStringLiteral("txtPW"))->setText(*answer);
    dialog.ConfirmOK = true;
}
} // namespace

void frmMain::queueConfirmation(const std::optional<QString>& typed)
{
    queuedConfirmations().append(typed);
}

void frmMain::clearConfirmations()
{
    queuedConfirmations().clear();
}

bool frmMain::ConfirmPassword()
{
    BW_TRACE(kModule, "Function ConfirmPassword");
    MakeNormal();
    // A dialog of its own for each question, owned by the window; it empties its box when it goes.
    frmPWconfirm dialog(this);
    dialog.clearConfirmation();
    dialog.ConfirmOK = false;
    {
        const SuspendOnTopScope suspended(*this);
        askForPassword(dialog);
    }
    QString typed = dialog.confirmation();
    if (!dialog.ConfirmOK || typed.isEmpty()) {
        secureWipe(typed);
        return false;
    }
    const bool matches = typed == LoginValues::masterPassword().view();
    secureWipe(typed);
    if (!matches) {
        MsgBox(QStringLiteral("Password did not match!"), vb::vbOKOnly | vb::vbCritical,
               QCoreApplication::applicationName());
        return false;
    }
    return true;
}

void frmMain::hideUnlockButton()
{
    BW_TRACE(kModule, "Sub hideUnlockButton");
    ui->cmdPassword->setEnabled(false);
    ui->cmdPassword->setVisible(false);
}

bool frmMain::Locked() const
{
    return m_lock->isLocked();
}

void frmMain::InitTimer()
{
    BW_TRACE(kModule, "Sub InitTimer");
    m_lock->restart(); // a lock lifted shows the records again
    ui->cmdPassword->setVisible(false);
    UpdateTools(false);
}

// Records, grid, navigator and filter panel are hidden and the menus, toolbar and file buttons disabled
// while the window is locked, and come back when the lock is lifted.
void frmMain::showLockState(bool locked)
{
    BW_TRACE(kModule, "Sub showLockState");
    // The add and delete pictures stand outside the record panel; while locked they go with it.
    const QList<QWidget*> records = {ui->Frame2,    ui->Frame3,    ui->DataGrid1, ui->Adodc1,
                                     ui->imgAddNew, ui->lblAddNew, ui->imgDelete, ui->lblDelete};
    for (QWidget* widget : records) {
        // While locked, what was shown keeps its room, so that the window keeps its shape.
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(locked && widget->isVisibleTo(this));
        widget->setSizePolicy(policy);
        widget->setVisible(!locked);
    }
    for (QMenu* menu : {ui->mnuFile, ui->mnuEdit, ui->mnuView}) {
        menu->setEnabled(!locked);
        menu->menuAction()->setEnabled(!locked);
    }
    ui->tbToolBar->setEnabled(!locked);
    // The cool bar's data file buttons and the options would open, print or save the records, or lift the
    // lock, without the password. The buttons keep their own enabled state for when the lock is lifted.
    ui->CoolBarBand1->setEnabled(!locked);
    ui->imgTBoptions->setEnabled(!locked);
    if (!locked)
        return;
    setStatusPanel(1, QStringLiteral("SECURITY TIME OUT! ...REFRESH PASSWORD!"));
    ui->cmdPassword->setEnabled(true);
    ui->cmdPassword->setVisible(true);
}

void frmMain::Timer2_Timer()
{
    bwHandler(kModule, "Sub Timer2_Timer", [&] { m_lock->tick(); });
}

// The screen locked, the session was left or the machine is going to sleep: the window locks as the
// time-out locks it. Before the window is loaded there is nothing to lock.
void frmMain::lockWithSession()
{
    bwHandler(kModule, "Sub lockWithSession", [&] {
        if (m_loaded && !m_unloaded)
            m_lock->lock();
    });
}

void frmMain::cmdPassword_Click()
{
    bwHandler(kModule, "Sub cmdPassword_Click", [&] {
        if (!ConfirmPassword()) {
            QString text = QStringLiteral("Invalid Password, try again!");
            if (loginCapsLockOn())
                text += QStringLiteral("\r\n\r\nBEWARE your CAPS key is ON!");
            MsgBox(text, vb::vbOKOnly | vb::vbExclamation, QStringLiteral("Login Failed"));
            return;
        }
        setStatusPanel(1, QString());
        InitTimer();
        hideUnlockButton();
    });
}

void frmMain::mnuViewOptions_Click()
{
    bwHandler(kModule, "Sub mnuViewOptions_Click", [&] {
        // Closing the dialog lifts the lock: while locked, the options wait for the password.
        if (Locked())
            return;
        // The count does not run while the dialog is open: its closing restarts or stops it anyway.
        m_lock->stop();
        {
            const SuspendOnTopScope suspended(*this);
            frmOptions::run(this, isDataFileOpen());
        }
        // With the count stopped, only the desktop session can have locked the window meanwhile; the
        // options are applied as always, and then it locks again.
        const bool sessionLocked = Locked();
        showOnTopLamp();
        m_reveal->applyPeekOption();
        m_lock->unlock();
        hideUnlockButton();
        if (!Options.TimeoutOn) {
            m_lock->stop();
        } else {
            m_lock->setCountdownStart(Options.TimeoutTime);
            InitTimer();
        }
        if (sessionLocked)
            m_lock->lock();
    });
}
