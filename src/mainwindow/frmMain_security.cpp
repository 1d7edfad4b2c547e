// The security time-out and the confirmation of the master password.
#include "errortrap/Bulwark.h"
#include "mainwindow/frmMain.h"
#include "ui_frmMain.h"

namespace {
constexpr char kModule[] = "frmMain.frm";
}

void frmMain::InitTimer()
{
    BW_TRACE(kModule, "Sub InitTimer");
    UpdateTools(false);
}

void frmMain::Timer2_Timer()
{
    BW_TRACE(kModule, "Sub Timer2_Timer");
}

bool frmMain::ConfirmPassword()
{
    BW_TRACE(kModule, "Function ConfirmPassword");
    return false;
}

void frmMain::cmdPassword_Click()
{
    BW_TRACE(kModule, "Sub cmdPassword_Click");
}

void frmMain::mnuViewOptions_Click()
{
    BW_TRACE(kModule, "Sub mnuViewOptions_Click");
}
