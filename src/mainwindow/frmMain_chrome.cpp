// The window's chrome: the cool bar and its picture buttons, the picture buttons beside the records, the
// keep-on-top lamp, minimising to the tray, exit, help, about and print.
#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/MainGlobals.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/frmMain.h"
#include "ui_frmMain.h"

#include <QPushButton>

namespace {
constexpr char kModule[] = "frmMain.frm";
constexpr int kOnTopRecheck = 2000;
} // namespace

void frmMain::setUpCoolBar()
{
    BW_TRACE(kModule, "Sub setUpCoolBar");
    for (QFrame* band : {ui->CoolBarBand1, ui->CoolBarBand2, ui->CoolBarBand3})
        band->setLineWidth(1);
}

void frmMain::connectCommands()
{
    BW_TRACE(kModule, "Sub connectCommands");
    // The command buttons are hidden: the picture buttons beside the boxes show their state and run them.
    const QList<QPair<QPushButton*, void (frmMain::*)()>> commands = {
        {ui->cmdAccount, &frmMain::cmdAccount_Click},
        {ui->cmdURL, &frmMain::cmdURL_Click},
        {ui->cmdName, &frmMain::cmdName_Click},
        {ui->cmdSP, &frmMain::cmdSP_Click},
        {ui->cmdHint, &frmMain::cmdHint_Click},
        {ui->cmdInfo, &frmMain::cmdInfo_Click},
        {ui->cmdKey1, &frmMain::cmdKey1_Click},
        {ui->cmdKey2, &frmMain::cmdKey2_Click},
        {ui->cmdKey3, &frmMain::cmdKey3_Click},
        {ui->cmdKey4, &frmMain::cmdKey4_Click},
        {ui->cmdRP, &frmMain::cmdRP_Click},
        {ui->cmdGoUrl, &frmMain::cmdGoUrl_Click},
        {ui->cmdAdd, &frmMain::cmdAdd_Click},
        {ui->cmdClear, &frmMain::cmdClear_Click},
        {ui->cmdFilter, &frmMain::cmdFilter_Click},
        {ui->cmdFilter2, &frmMain::cmdFilter2_Click},
        {ui->cmdClearFilter, &frmMain::cmdClearFilter_Click},
        {ui->cmdPassword, &frmMain::cmdPassword_Click}};
    for (const auto& [button, handler] : commands)
        connect(button, &QPushButton::clicked, this, handler);

    connect(ui->txtAccount, &QLineEdit::textChanged, this, &frmMain::txtAccount_Change);
    connect(ui->txtURL, &QLineEdit::textChanged, this, &frmMain::txtURL_Change);
    connect(ui->txtID, &QLineEdit::textChanged, this, &frmMain::txtID_Change);
    connect(ui->txtPW, &QLineEdit::textChanged, this, &frmMain::txtPW_Change);
    connect(ui->txtHint, &QPlainTextEdit::textChanged, this, &frmMain::txtHint_Change);
    connect(ui->txtINFO, &QPlainTextEdit::textChanged, this, &frmMain::txtINFO_Change);
    connect(ui->txtKey1Label, &QLineEdit::textChanged, this, &frmMain::txtKey1Label_Change);
    connect(ui->txtKey2Label, &QLineEdit::textChanged, this, &frmMain::txtKey2Label_Change);
    connect(ui->txtKey3Label, &QLineEdit::textChanged, this, &frmMain::txtKey3Label_Change);
    connect(ui->txtKey4Label, &QLineEdit::textChanged, this, &frmMain::txtKey4Label_Change);
    connect(ui->txtKey1, &QLineEdit::textChanged, this, &frmMain::txtKey1_Change);
    connect(ui->txtKey2, &QLineEdit::textChanged, this, &frmMain::txtKey2_Change);
    connect(ui->txtKey3, &QLineEdit::textChanged, this, &frmMain::txtKey3_Change);
    connect(ui->txtKey4, &QLineEdit::textChanged, this, &frmMain::txtKey4_Change);

    for (QWidget* box : QList<QWidget*>{ui->txtAccount, ui->txtURL, ui->txtID, ui->txtPW, ui->txtHint, ui->txtKey1Label,
                                        ui->txtKey1, ui->txtKey2Label, ui->txtKey2, ui->txtKey3Label, ui->txtKey3,
                                        ui->txtKey4Label, ui->txtKey4, ui->txtFilter, ui->txtFilter2})
        box->installEventFilter(this);
}

void frmMain::connectPictureButtons()
{
    BW_TRACE(kModule, "Sub connectPictureButtons");
    const QList<QPair<PictureButton*, QPushButton*>> mirrored = {{ui->imgAccount, ui->cmdAccount},
                                                                 {ui->imgURL, ui->cmdURL},
                                                                 {ui->imgName, ui->cmdName},
                                                                 {ui->imgSP, ui->cmdSP},
                                                                 {ui->imgHint, ui->cmdHint},
                                                                 {ui->imgInfo, ui->cmdInfo},
                                                                 {ui->imgKey1, ui->cmdKey1},
                                                                 {ui->imgKey2, ui->cmdKey2},
                                                                 {ui->imgKey3, ui->cmdKey3},
                                                                 {ui->imgKey4, ui->cmdKey4},
                                                                 {ui->imgRP, ui->cmdRP},
                                                                 {ui->imgGoUrl, ui->cmdGoUrl},
                                                                 {ui->imgAddNew, ui->cmdAdd},
                                                                 {ui->imgDelete, ui->cmdClear},
                                                                 {ui->imgFilter1, ui->cmdFilter},
                                                                 {ui->imgFilter2, ui->cmdFilter2},
                                                                 {ui->imgClearFilter, ui->cmdClearFilter}};
    for (const auto& [image, command] : mirrored) {
        image->mirrorEnabledOf(command);
        QPushButton* target = command;
        // The picture runs the command's handler, as a click on the command would.
        connect(image, &PictureButton::clicked, target, &QPushButton::click);
    }

    connect(ui->imgTBnew, &PictureButton::clicked, this, &frmMain::mnuNewDB_Click);
    connect(ui->imgTBopen, &PictureButton::clicked, this, &frmMain::mnuFileOpen_Click);
    connect(ui->imgTBunlock, &PictureButton::clicked, this, &frmMain::mnuOpenSpecial_Click);
    connect(ui->imgTBsave, &PictureButton::clicked, this, &frmMain::imgTBsave_Click);
    connect(ui->imgTBclose, &PictureButton::clicked, this, &frmMain::mnuFileClose_Click);
    connect(ui->imgTBprint, &PictureButton::clicked, this, &frmMain::mnuFilePrint_Click);
    connect(ui->imgTBoptions, &PictureButton::clicked, this, &frmMain::mnuViewOptions_Click);
    connect(ui->imgTBhelp, &PictureButton::clicked, this, &frmMain::mnuHelpContents_Click);
    connect(ui->imgTBinfo, &PictureButton::clicked, this, &frmMain::mnuHelpAbout_Click);
    connect(ui->imgTBmin, &PictureButton::clicked, this, &frmMain::imgTBmin_Click);
    connect(ui->imgTBexit, &PictureButton::clicked, this, &frmMain::imgTBexit_Click);
    connect(ui->imgTBontop, &PictureButton::mouseDown, this, &frmMain::imgTBontop_MouseDown);
    connect(ui->imgTBontop, &PictureButton::mouseUp, this, &frmMain::imgTBontop_MouseUp);
    connect(ui->imgTBontop, &PictureButton::clicked, this, &frmMain::imgTBontop_Click);
}

void frmMain::showOnTopLamp()
{
    BW_TRACE(kModule, "Sub showOnTopLamp");
    UpdateImage(ui->imgTBontop, KeepOnTop ? QStringLiteral("LED-GUP") : QStringLiteral("LED-RUP"));
}

void frmMain::imgTBontop_MouseDown()
{
    BW_TRACE(kModule, "Sub imgTBontop_MouseDown");
    UpdateImage(ui->imgTBontop, KeepOnTop ? QStringLiteral("LED-GDOWN") : QStringLiteral("LED-RDOWN"));
}

void frmMain::imgTBontop_MouseUp()
{
    BW_TRACE(kModule, "Sub imgTBontop_MouseUp");
    // The lamp shows the state the click that follows is about to give.
    UpdateImage(ui->imgTBontop, KeepOnTop ? QStringLiteral("LED-RUP") : QStringLiteral("LED-GUP"));
}

void frmMain::imgTBontop_Click()
{
    bwHandler(kModule, "Sub imgTBontop_Click", [&] { KeepOnTop = !KeepOnTop; });
}

void frmMain::imgTBmin_Click()
{
    bwHandler(kModule, "Sub imgTBmin_Click", [&] {
        SuspendOnTop = true;
        hide();
    });
}

void frmMain::imgTBexit_Click()
{
    bwHandler(kModule, "Sub imgTBexit_Click", [&] { close(); });
}

void frmMain::imgTBsave_Click()
{
    bwHandler(kModule, "Sub imgTBsave_Click", [&] {
        SuspendOnTop = true;
        mnuFileSaveAs_Click();
        SuspendOnTop = false;
    });
}

void frmMain::timOnTop_Timer()
{
    bwHandler(kModule, "Sub timOnTop_Timer", [&] {
        timOnTop.stop();
        timOnTop.start(kOnTopRecheck);
    });
}

void frmMain::mnuHelpContents_Click()
{
    BW_TRACE(kModule, "Sub mnuHelpContents_Click");
}

void frmMain::mnuHelpSearchForHelpOn_Click()
{
    BW_TRACE(kModule, "Sub mnuHelpSearchForHelpOn_Click");
}

void frmMain::mnuHelpAbout_Click()
{
    BW_TRACE(kModule, "Sub mnuHelpAbout_Click");
}

void frmMain::mnuFilePrint_Click()
{
    BW_TRACE(kModule, "Sub mnuFilePrint_Click");
}

void frmMain::createTray()
{
    BW_TRACE(kModule, "Sub createTray");
}

void frmMain::removeTray()
{
    BW_TRACE(kModule, "Sub removeTray");
}
