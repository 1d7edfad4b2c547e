// The window's chrome: the cool bar and its picture buttons, the picture buttons beside the records, the
// keep-on-top lamp, minimising to the tray, exit, help, about and print.
#include "app/ProgramSettings.h"
#include "app/SingleInstance.h"
#include "desktop/MessageBox.h"
#include "desktop/SuspendOnTop.h"
#include "desktop/frmSysTray.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/KeyPressRoute.h"
#include "mainwindow/OnTopKeeper.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/frmMain.h"
#include "tools/HelpViewer.h"
#include "tools/PrintPreview.h"
#include "tools/frmAbout.h"
#include "ui_frmMain.h"

#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>
#include <functional>

namespace {
constexpr char kModule[] = "frmMain.frm";

const char* const kNoHelpText = "Unable to display Help Contents. There is no Help associated with this project.";

// Runs one step of a tray handler: a step that fails is passed over, so the next one still runs.
template <class Step> void ignoringFaults(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

// Mouse buttons as the window's handlers count them: 1 left, 2 right, 4 middle.
int buttonValue(Qt::MouseButtons buttons)
{
    int value = 0;
    if (buttons.testFlag(Qt::LeftButton))
        value |= 1;
    if (buttons.testFlag(Qt::RightButton))
        value |= 2;
    if (buttons.testFlag(Qt::MiddleButton))
        value |= 4;
    return value;
}

// Where the compositor places windows itself, a client cannot set its position: the platform moves the
// window instead.
bool windowPositionIsTheCompositors()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Passes what the window's own events mean to the records window: the cool bar's mouse, the window
// losing the focus and its minimised state changing.
class ChromeEvents : public QObject
{
public:
    ChromeEvents(frmMain* window, QWidget* coolBar, std::function<void()> stateChanged)
        : QObject(window), m_coolBar(coolBar), m_stateChanged(std::move(stateChanged))
    {
        window->installEventFilter(this);
        coolBar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Nothing is passed on while the window is being destroyed: it is no longer a records window then.
        auto* window = qobject_cast<frmMain*>(parent());
        if (!window)
            return false;
        if (watched == m_coolBar) {
            if (event->type() == QEvent::MouseButtonPress) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                const QPointF at = mouse->position();
                window->CoolBar1_MouseDown(buttonValue(mouse->button()), 0, float(at.x()), float(at.y()));
                return true;
            }
            if (event->type() == QEvent::MouseMove) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                const QPointF at = mouse->position();
                window->CoolBar1_MouseMove(buttonValue(mouse->buttons()), 0, float(at.x()), float(at.y()));
                return true;
            }
        } else if (watched == window) {
            if (event->type() == QEvent::WindowDeactivate)
                window->Form_LostFocus();
            else if (event->type() == QEvent::WindowStateChange)
                m_stateChanged();
        }
        return false;
    }

private:
    QWidget* m_coolBar;
    std::function<void()> m_stateChanged;
};
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
    new KeyPressRoute(ui->txtFilter, [this](int& KeyAscii) { txtFilter_KeyPress(KeyAscii); });
    new KeyPressRoute(ui->txtFilter2, [this](int& KeyAscii) { txtFilter2_KeyPress(KeyAscii); });
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
    connect(ui->imgTBimport, &PictureButton::clicked, this, &frmMain::mnuFileImport_Click);
    connect(ui->imgTBexport, &PictureButton::clicked, this, &frmMain::mnuFileExport_Click);
    connect(ui->imgTBoptions, &PictureButton::clicked, this, &frmMain::mnuViewOptions_Click);
    connect(ui->imgTBhelp, &PictureButton::clicked, this, &frmMain::mnuHelpContents_Click);
    connect(ui->imgTBinfo, &PictureButton::clicked, this, &frmMain::mnuHelpAbout_Click);
    connect(ui->imgTBmin, &PictureButton::clicked, this, &frmMain::imgTBmin_Click);
    connect(ui->imgTBexit, &PictureButton::clicked, this, &frmMain::imgTBexit_Click);
    connect(ui->imgTBontop, &PictureButton::mouseDown, this, &frmMain::imgTBontop_MouseDown);
    connect(ui->imgTBontop, &PictureButton::mouseUp, this, &frmMain::imgTBontop_MouseUp);
    connect(ui->imgTBontop, &PictureButton::clicked, this, &frmMain::imgTBontop_Click);

    setWindowIcon(QIcon(QStringLiteral(":/icons/lockwell.svg")));
    new ChromeEvents(this, ui->CoolBar1, [this] { windowStateChanged(); });
}

void frmMain::showOnTopLamp()
{
    BW_TRACE(kModule, "Sub showOnTopLamp");
    UpdateImage(ui->imgTBontop, Options.KeepOnTop ? QStringLiteral("LED-GUP") : QStringLiteral("LED-RUP"));
}

void frmMain::imgTBontop_MouseDown()
{
    BW_TRACE(kModule, "Sub imgTBontop_MouseDown");
    UpdateImage(ui->imgTBontop, Options.KeepOnTop ? QStringLiteral("LED-GDOWN") : QStringLiteral("LED-RDOWN"));
}

void frmMain::imgTBontop_MouseUp()
{
    BW_TRACE(kModule, "Sub imgTBontop_MouseUp");
    // The lamp shows the state the click that follows is about to give.
    UpdateImage(ui->imgTBontop, Options.KeepOnTop ? QStringLiteral("LED-RUP") : QStringLiteral("LED-GUP"));
}

void frmMain::imgTBontop_Click()
{
    // Only the setting in memory changes: the timer applies it, and it is written at exit.
    bwHandler(kModule, "Sub imgTBontop_Click", [&] { Options.KeepOnTop = !Options.KeepOnTop; });
}

void frmMain::imgTBmin_Click()
{
    bwHandler(kModule, "Sub imgTBmin_Click", [&] {
        setSuspendOnTop(true);
        if (m_frmSysTray && frmSysTray::isAvailable()) {
            hide();
            return;
        }
        // Without a tray a hidden window could not be found again: it goes to the taskbar instead.
        m_minimisedWithoutTray = true;
        showMinimized();
    });
}

void frmMain::windowStateChanged()
{
    BW_TRACE(kModule, "Sub windowStateChanged");
    if (m_minimisedWithoutTray && !isMinimized()) {
        m_minimisedWithoutTray = false;
        setSuspendOnTop(false);
    }
}

void frmMain::imgTBexit_Click()
{
    bwHandler(kModule, "Sub imgTBexit_Click", [&] { close(); });
}

void frmMain::imgTBsave_Click()
{
    bwHandler(kModule, "Sub imgTBsave_Click", [&] {
        const SuspendOnTopScope suspended(*this);
        mnuFileSaveAs_Click();
    });
}

void frmMain::MakeNormal(QWidget* window)
{
    BW_TRACE(kModule, "Sub MakeNormal");
    OnTopKeeper::makeNormal(window ? window : this);
}

void frmMain::timOnTop_Timer()
{
    bwHandler(kModule, "Sub timOnTop_Timer", [&] { m_onTop->look(); });
}

void frmMain::Form_LostFocus()
{
    bwHandler(kModule, "Sub Form_LostFocus", [&] {
        if (isFormLoaded() && !m_unloaded)
            m_onTop->lookLater();
    });
}

void frmMain::CoolBar1_MouseDown(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift);
    bwHandler(kModule, "Sub CoolBar1_MouseDown", [&] {
        m_dragOriginX = X;
        m_dragOriginY = Y;
        if (Button == 1 && windowPositionIsTheCompositors() && windowHandle())
            windowHandle()->startSystemMove();
    });
}

void frmMain::CoolBar1_MouseMove(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift);
    bwHandler(kModule, "Sub CoolBar1_MouseMove", [&] {
        if (Button != 1 || windowPositionIsTheCompositors())
            return;
        move(x() - qRound(m_dragOriginX - X), y() - qRound(m_dragOriginY - Y));
    });
}

void frmMain::mnuHelpContents_Click()
{
    bwHandler(kModule, "Sub mnuHelpContents_Click", [&] {
        // The help window is not to be covered.
        Options.KeepOnTop = false;
        UpdateImage(ui->imgTBontop, QStringLiteral("LED-RUP"));
        MakeNormal(this);
        showHelpFile();
    });
}

void frmMain::mnuHelpSearchForHelpOn_Click()
{
    bwHandler(kModule, "Sub mnuHelpSearchForHelpOn_Click", [&] { showHelpFile(); });
}

void frmMain::showHelpFile()
{
    BW_TRACE(kModule, "Sub showHelpFile");
    if (m_helpFile.isEmpty()) {
        MsgBox(QString::fromLatin1(kNoHelpText), vb::vbInformation, QGuiApplication::applicationDisplayName());
        return;
    }
    const QString failure = HelpViewer::showHelp(this, m_helpFile);
    if (!failure.isEmpty())
        MsgBox(failure, vb::vbOKOnly);
}

void frmMain::mnuHelpAbout_Click()
{
    bwHandler(kModule, "Sub mnuHelpAbout_Click", [&] {
        const SuspendOnTopScope suspended(*this);
        frmAbout about(this);
        about.exec();
    });
}

void frmMain::mnuFilePrint_Click()
{
    bwHandler(kModule, "Sub mnuFilePrint_Click", [&] { PrintData(); });
}

void frmMain::PrintData()
{
    BW_TRACE(kModule, "Sub PrintData");
    // Every password is printed in clear: the user proves again who they are first.
    if (!ConfirmPassword())
        return;
    runRecordReport(this, recordset().get(), this);
}

frmSysTray* frmMain::sysTray() const
{
    return m_frmSysTray;
}

void frmMain::createTray()
{
    BW_TRACE(kModule, "Sub createTray");
    if (m_frmSysTray)
        return;
    m_frmSysTray = new frmSysTray(this);
    m_frmSysTray->AddMenuItem(QStringLiteral("&Open Lockwell"), QStringLiteral("open"), true);
    m_frmSysTray->AddMenuItem(QStringLiteral("-"), QString());
    m_frmSysTray->AddMenuItem(QStringLiteral("&Close"), QStringLiteral("close"));
    m_frmSysTray->setToolTip(QStringLiteral("Lockwell"));
    m_frmSysTray->setIconHandle(frmSysTray::iconHandleFor(windowIcon()));
    connect(m_frmSysTray, &frmSysTray::SysTrayMouseDown, this, &frmMain::m_frmSysTray_SysTrayMouseDown);
    connect(m_frmSysTray, &frmSysTray::SysTrayDoubleClick, this, &frmMain::m_frmSysTray_SysTrayDoubleClick);
    // Queued: "&Close" unloads the tray, whose menu action is still sending its signal.
    connect(m_frmSysTray, &frmSysTray::MenuClick, this, &frmMain::m_frmSysTray_MenuClick, Qt::QueuedConnection);
}

void frmMain::removeTray()
{
    BW_TRACE(kModule, "Sub removeTray");
    if (!m_frmSysTray)
        return;
    m_frmSysTray->unload();
    m_frmSysTray->deleteLater();
    m_frmSysTray = nullptr;
}

void frmMain::restoreFromTray()
{
    BW_TRACE(kModule, "Sub restoreFromTray");
    ignoringFaults([&] {
        setSuspendOnTop(false);
        m_minimisedWithoutTray = false;
    });
    ignoringFaults([&] { SingleInstance::bringToFront(this); });
}

void frmMain::m_frmSysTray_SysTrayMouseDown(Qt::MouseButton button)
{
    BW_TRACE(kModule, "Sub m_frmSysTray_SysTrayMouseDown");
    if (button != Qt::RightButton) {
        restoreFromTray();
        return;
    }
    ignoringFaults([&] {
        if (m_frmSysTray)
            m_frmSysTray->ShowMenu();
    });
}

void frmMain::m_frmSysTray_SysTrayDoubleClick(Qt::MouseButton button)
{
    BW_TRACE(kModule, "Sub m_frmSysTray_SysTrayDoubleClick");
    Q_UNUSED(button);
    restoreFromTray();
}

void frmMain::m_frmSysTray_MenuClick(int index, const QString& key)
{
    BW_TRACE(kModule, "Sub m_frmSysTray_MenuClick");
    Q_UNUSED(index);
    if (key == QLatin1String("open"))
        restoreFromTray();
    else if (key == QLatin1String("close"))
        ignoringFaults([&] { close(); }); // the window's own close path: compaction, settings, tray
}
