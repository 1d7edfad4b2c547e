// The records window: creating its controls, loading it after the login, and unloading it.
#include "mainwindow/frmMain.h"

#include "app/CommandLine.h"
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/StringTable.h"
#include "datafile/DataFileCommands.h"
#include "datafile/DataFileReread.h"
#include "datafile/DataFileWatcher.h"
#include "datafile/ImportExportCommands.h"
#include "desktop/SessionLockWatcher.h"
#include "desktop/WindowPlacement.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/KeyPressRoute.h"
#include "mainwindow/OnTopKeeper.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/RecordBinder.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/Twips.h"
#include "storage/DataControl.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"
#include "tools/HelpViewer.h"
#include "tools/frmRandomiser.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTextOption>

namespace {
constexpr char kModule[] = "frmMain.frm";

// The smallest size the window opens at, and where it opens when no position is stored, in twips.
constexpr float kMinimumWidth = 10455.0F;
constexpr float kMinimumHeight = 7845.0F;

void setErrorTrapOptions()
{
    BW_TRACE(kModule, "Sub setErrorTrapOptions");
    const QString logFile = QStringLiteral("LWD.LOG");
    bwOption(11, true);
    bwOption(12, false);
    bwOption(13, false);
    bwOption(14, false);
    bwOption(15, false);
    bwOption(16, logFile);
    bwOption(22, false);
    bwOption(23, true);
    bwOption(25, 20);
    bwOption(26, logFile);
    bwOption(27, true);
}

// Closes every other window of the program (the generator is unloaded).
void unloadOtherWindows(const QWidget* mainWindow)
{
    BW_TRACE(kModule, "Sub unloadOtherWindows");
    frmRandomiser::unload();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* window = *it;
        if (window != mainWindow && window->isWindow() && window->isVisible() && !window->inherits("QMenu"))
            window->close();
    }
}
} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), m_files(std::make_unique<DataFileCommands>(*this)),
      m_exchange(std::make_unique<ImportExportCommands>(*this, *m_files)), m_binder(new RecordBinder(this)),
      m_gridModel(new AccountGridModel(this)), m_onTop(new OnTopKeeper(this)), m_lock(new SecurityLock(this))
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    setUpStatusBar();
    setUpGrid();
    setUpRecordBoxes();
    connectCommands();
    connectPictureButtons();
    connectMenus();
    connect(&dataControl(), &DataControl::recordsetChanged, this, &frmMain::recordsetReplaced);
    connect(&m_reveal->Timer1(), &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(&m_lock->Timer2(), &QTimer::timeout, this, &frmMain::Timer2_Timer);
    connect(m_lock, &SecurityLock::lockedChanged, this, &frmMain::showLockState);
    // A lock takes a revealed secret off the clipboard; locking the desktop session locks the window.
    connect(m_lock, &SecurityLock::lockedChanged, m_reveal, [this](bool locked) {
        if (locked)
            m_reveal->withdrawSecret();
    });
    connect(new SessionLockWatcher(this), &SessionLockWatcher::sessionLocked, this, &frmMain::lockWithSession);
    connect(&m_onTop->timOnTop(), &QTimer::timeout, this, &frmMain::timOnTop_Timer);
    // What another program writes to the data file, or a file put in its place, is read in while no edit
    // is pending and no dialog is up.
    auto* watcher = new DataFileWatcher(dataControl(), this);
    watcher->setReadyTest([] { return QApplication::activeModalWidget() == nullptr; });
    connect(watcher, &DataFileWatcher::changedOnDisk, this, [this](bool replaced) {
        bwHandler(kModule, "Sub DataFileWatcher_ChangedOnDisk", [&] { rereadDataFile(*m_files, *this, replaced); });
    });
    m_commandText = commandTextFromArguments(QCoreApplication::arguments().mid(1));
}

frmMain::~frmMain()
{
    BW_TRACE(kModule, "Sub Form_Terminate");
    for (const auto& connection : std::as_const(m_recordsetConnections))
        disconnect(connection);
    m_binder->setRecordset(nullptr);
    m_gridModel->setRecordset(nullptr);
}

void frmMain::setUpStatusBar()
{
    BW_TRACE(kModule, "Sub setUpStatusBar");
    m_panel1 = new QLabel(ui->sbStatusBar);
    m_panel1->setObjectName(QStringLiteral("sbPanel1"));
    m_panel2 = new QLabel(ui->sbStatusBar);
    m_panel2->setObjectName(QStringLiteral("sbPanel2"));
    m_panel2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->sbStatusBar->addWidget(m_panel1, 1);
    ui->sbStatusBar->addPermanentWidget(m_panel2);
}

void frmMain::setUpRecordBoxes()
{
    BW_TRACE(kModule, "Sub setUpRecordBoxes");
    using namespace DataFileFormat;
    const QList<QPair<QWidget*, int>> boxes = {{ui->txtAccount, Account}, {ui->txtURL, URL},
                                               {ui->txtID, IDtext},       {ui->txtPW, Password},
                                               {ui->txtHint, HINT},       {ui->txtKey1Label, Key1_Name},
                                               {ui->txtKey1, Key1},       {ui->txtKey2Label, Key2_Name},
                                               {ui->txtKey2, Key2},       {ui->txtKey3Label, Key3_Name},
                                               {ui->txtKey3, Key3},       {ui->txtKey4Label, Key4_Name},
                                               {ui->txtKey4, Key4},       {ui->txtINFO, Info}};
    for (const auto& [box, column] : boxes) {
        m_binder->bind(box, column);
        // The boxes' Change handlers (txtAccount_Change … txtKey4_Change): typing, or showing another
        // record, counts as activity.
        const QByteArray change = "Sub " + box->objectName().toLatin1() + "_Change";
        const auto changed = [this, change] { bwHandler(kModule, change.constData(), [this] { recordBoxChanged(); }); };
        if (auto* line = qobject_cast<QLineEdit*>(box))
            connect(line, &QLineEdit::textChanged, this, changed);
        else
            connect(static_cast<QPlainTextEdit*>(box), &QPlainTextEdit::textChanged, this, changed);
        // Their KeyPress handlers (txtAccount_KeyPress …): Enter moves on to the next box, except in
        // txtINFO, where it starts a new line.
        if (box != ui->txtINFO)
            new KeyPressRoute(box, [this, box](int& KeyAscii) { enterMovesOn(KeyAscii, box); });
    }

    m_reveal = new SecretReveal({ui->txtPW, ui->txtKey1, ui->txtKey2, ui->txtKey3, ui->txtKey4}, this);

    // The information box lies over the record panel; its text stands in the middle of it.
    QTextOption centred = ui->txtDataInform->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    ui->txtDataInform->document()->setDefaultTextOption(centred);
    QFont informFont = ui->txtDataInform->font();
    informFont.setBold(true);
    informFont.setPointSizeF(informFont.pointSizeF() * 1.3);
    ui->txtDataInform->setFont(informFont);
    ui->txtDataInform->raise();
    ui->cmdPassword->raise();

    // The key labels name the key beside them: they read as captions, and an unnamed key shows its
    // designed name greyed.
    for (QLineEdit* label : {ui->txtKey1Label, ui->txtKey2Label, ui->txtKey3Label, ui->txtKey4Label}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 8);
        label->setPlaceholderText(label->text());
    }
    // The password note holds a few lines; the information box takes the room that is left.
    ui->txtHint->setFixedHeight(fontMetrics().lineSpacing() * 3 + 10);
}

void frmMain::connectMenus()
{
    BW_TRACE(kModule, "Sub connectMenus");
    // The menus are not shown: their items are the named commands that the picture buttons and the
    // tray run.
    for (QMenu* menu : {ui->mnuFile, ui->mnuEdit, ui->mnuView, ui->mnuHelp})
        menu->menuAction()->setVisible(false);
    ui->menuBar->setVisible(false);
    ui->tbToolBar->setVisible(false);
    connect(ui->mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(ui->mnuOpenSpecial, &QAction::triggered, this, &frmMain::mnuOpenSpecial_Click);
    connect(ui->mnuNewDB, &QAction::triggered, this, &frmMain::mnuNewDB_Click);
    connect(ui->mnuFileClose, &QAction::triggered, this, &frmMain::mnuFileClose_Click);
    connect(ui->mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(ui->mnuFilePrint, &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
    connect(ui->mnuFileImport, &QAction::triggered, this, &frmMain::mnuFileImport_Click);
    connect(ui->mnuFileExport, &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(ui->mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(ui->mnuAddEntry, &QAction::triggered, this, &frmMain::cmdAdd_Click);
    connect(ui->mnuDeleteEntry, &QAction::triggered, this, &frmMain::cmdClear_Click);
    connect(ui->mnuViewOptions, &QAction::triggered, this, &frmMain::mnuViewOptions_Click);
    connect(ui->mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(ui->mnuHelpSearchForHelpOn, &QAction::triggered, this, &frmMain::mnuHelpSearchForHelpOn_Click);
    connect(ui->mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

DataControl& frmMain::dataControl()
{
    return ui->Adodc1->dataControl();
}

const DataControl& frmMain::dataControl() const
{
    return ui->Adodc1->dataControl();
}

std::shared_ptr<Recordset> frmMain::recordset() const
{
    return dataControl().recordset();
}

bool frmMain::isDataFileOpen() const
{
    BW_TRACE(kModule, "Function isDataFileOpen");
    const auto records = recordset();
    return records && records->hasActiveConnection();
}

void frmMain::setStatusPanel(int panel, const QString& text)
{
    BW_TRACE(kModule, "Sub setStatusPanel");
    (panel == 2 ? m_panel2 : m_panel1)->setText(text);
}

QString frmMain::statusPanel(int panel) const
{
    return (panel == 2 ? m_panel2 : m_panel1)->text();
}

QString frmMain::boxText(const char* box) const
{
    return RecordBinder::textOf(findChild<QWidget*>(QString::fromLatin1(box)));
}

void frmMain::Form_Load()
{
    BW_TRACE(kModule, "Sub Form_Load");
    if (m_loaded)
        return;
    m_loaded = true;
    setUpCoolBar();
    for (PictureButton* image : {ui->imgTBclose, ui->imgTBsave, ui->imgTBprint})
        UpdateImage(image, QStringLiteral("TB-DISABLED"));
    setStatusPanel(1, QStringLiteral("No DataBase Loaded:"));
    LoadResStrings(this);
    applyWindowGeometryAtLoad();
    // The options, the last data file and the column widths, read in the order they are kept.
    ProgramSettings::loadAtStart(LoginValues::userName(), gridWidthTwips());
    placeAtSavedPosition();
    applyColumnWidthsAtLoad();
    openDataFileAtLoad();
    m_helpFile = HelpViewer::defaultHelpFilePath();
    // The grid shows only the Account and URL columns: its model has no others.
    m_lock->setCountdownStart(Options.TimeoutTime);
    UpdateTools(false);
    DisplayInfo();
    createTray();
    setErrorTrapOptions();
    showOnTopLamp();
    InitTimer();
    m_onTop->start();
}

void frmMain::Form_Activate()
{
    BW_TRACE(kModule, "Sub Form_Activate");
}

void frmMain::applyWindowGeometryAtLoad()
{
    BW_TRACE(kModule, "Sub applyWindowGeometryAtLoad");
    // The window opens at its designed size, raised to the smallest size; a stored size is not used.
    layout()->activate();
    const int minimumWidth = Twips::toPixelsX(kMinimumWidth, this);
    const int minimumHeight = Twips::toPixelsY(kMinimumHeight, this);
    resize(std::max(width(), minimumWidth), std::max(height(), minimumHeight));
    // Lay the controls out now, so that the grid has its width before the column widths are read.
    layout()->activate();
    ui->centralwidget->layout()->activate();
}

void frmMain::placeAtSavedPosition()
{
    BW_TRACE(kModule, "Sub placeAtSavedPosition");
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QPoint saved(Twips::toPixelsX(Options.MainLeft, this), Twips::toPixelsY(Options.MainTop, this));
    move(WindowPlacement::onScreen(saved, frameGeometry().size(), screens));
}

void frmMain::applyColumnWidthsAtLoad()
{
    BW_TRACE(kModule, "Sub applyColumnWidthsAtLoad");
    setColumnWidthTwips(AccountGridModel::AccountColumn, Options.ColAccount);
    setColumnWidthTwips(AccountGridModel::UrlColumn, Options.ColURL);
}

void frmMain::openDataFileAtLoad()
{
    BW_TRACE(kModule, "Sub openDataFileAtLoad");
    const QStringList args = GetCommandLine(m_commandText);
    if (args.size() > 1) {
        // A command line that names nothing opens nothing, whatever AutoLoad says.
        const QString path = dataFileFromCommandLine(args);
        if (!path.isEmpty()) {
            Options.DBpath = path;
            DBconnect(SecretText());
        }
    } else if (Options.AutoLoad && !Options.DBpath.isEmpty()) {
        DBconnect(SecretText());
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    BW_TRACE(kModule, "Sub closeEvent");
    if (!m_loaded || m_unloaded) {
        event->accept();
        return;
    }
    int cancel = 0;
    Form_QueryUnload(cancel, 0);
    if (cancel == 0)
        Form_Unload(cancel);
    if (cancel != 0) {
        event->ignore();
        return;
    }
    m_unloaded = true;
    event->accept();
}

void frmMain::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    Q_UNUSED(UnloadMode);
    bwHandler(kModule, "Sub Form_QueryUnload", [&] {
        removeTray();
        Cancel = 0;
    });
}

void frmMain::Form_Unload(int& Cancel)
{
    bwHandler(kModule, "Sub Form_Unload", [&] {
        Cancel = 0;
        // The pending record is written first, whatever password opened the file; a file of the user's own
        // is then compacted in place. When the record cannot be written and the user keeps the program
        // open, the close is cancelled and the tray comes back.
        if (!m_files->closeAtShutdown()) {
            Cancel = 1;
            createTray();
            return;
        }
        unloadOtherWindows(this);
        if (!isMinimized()) {
            const QRect frame = frameGeometry();
            ProgramSettings::saveAtExit(LoginValues::userName(), Twips::fromPixelsX(frame.x(), this),
                                        Twips::fromPixelsY(frame.y(), this), Twips::fromPixelsX(frame.width(), this),
                                        Twips::fromPixelsY(frame.height(), this));
        }
    });
}

void frmMain::mnuFileExit_Click()
{
    bwHandler(kModule, "Sub mnuFileExit_Click", [&] { close(); });
}
