#pragma once
// The records window: the grid of accounts, the record panel with its fourteen boxes and their copy and
// reveal commands, the filter panel, the picture-button toolbar and the hidden menus whose handlers are
// the window's named commands.
//
// Creating the window does not load it: Form_Load reads the user's settings, opens the data file and
// starts the timers, and runs only after a successful login. Closing the window (its close box, the exit
// commands, close()) runs Form_QueryUnload and Form_Unload once, when the window was loaded.
//
// The window owns three parts that keep state of their own: the security lock (Timer2, the countdown,
// Locked), the secret reveal (Timer1, the masks, the clipboard) and the keep-on-top keeper (timOnTop,
// SuspendOnTop). Its handlers of the same names forward to them. The window also locks when the
// desktop session is locked, left or suspended.
//
// The methods are spread over files by concern: frmMain.cpp (creating, loading, unloading),
// frmMain_records.cpp (record boxes, copy and reveal), frmMain_editing.cpp (add, delete, typing, command
// states), frmMain_grid.cpp (grid, sort, filter, jump), frmMain_files.cpp (the data file commands),
// frmMain_security.cpp (time-out and confirmation), frmMain_chrome.cpp (toolbar pictures, on-top, tray).
#include "datafile/DataFileHost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

namespace Ui {
class frmMain;
}

class AccountGridModel;
class DataFileCommands;
class ImportExportCommands;
class OnTopKeeper;
class QLabel;
class QLineEdit;
class Recordset;
class RecordBinder;
class SecretReveal;
class SecurityLock;
class SecretText;
class frmSysTray;

class frmMain : public QMainWindow, public DataFileHost
{
    Q_OBJECT

public:
    // Creates the window and its controls; nothing is read or opened until Form_Load.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The command text a data file is opened from at load: the program's arguments unless set before.
    void setCommandText(const QString& text) { m_commandText = text; }
    // The help file, named at load.
    void setHelpFile(const QString& path) { m_helpFile = path; }
    bool isFormLoaded() const { return m_loaded; }
    bool isFormUnloaded() const { return m_unloaded; }

    // The window's parts.
    const SecurityLock& securityLock() const { return *m_lock; }
    const SecretReveal& secretReveal() const { return *m_reveal; }
    const OnTopKeeper& onTopKeeper() const { return *m_onTop; }
    // True while the security time-out has locked the window.
    bool Locked() const;
    // The grid column last sorted by a header click (0 Account, 1 URL) and its direction: 0 none,
    // 1 ascending, 2 descending. The delete command sorts again by them after a refresh.
    qint16 SortColumn() const { return m_sortColumn; }
    qint16 SortDirection() const { return m_sortDirection; }

    // The data control Adodc1, its record set (null when none), and whether a data file is open: the
    // record set exists and has an active connection.
    DataControl& dataControl() override;
    const DataControl& dataControl() const;
    std::shared_ptr<Recordset> recordset() const;
    bool isDataFileOpen() const;
    // The data file commands and the state they keep (the open password, the last file closed).
    DataFileCommands& fileCommands() const { return *m_files; }
    // The status bar's panels, 1 and 2, and the text a record box shows.
    void setStatusPanel(int panel, const QString& text) override;
    QString statusPanel(int panel) const;
    QString boxText(const char* box) const;

    // The rest of what the data file commands need of the window.
    QWidget* dialogOwner() override { return this; }
    void removeExtraGridColumns() override;
    void rebindGrid() override;
    void focusGrid() override;
    // SuspendOnTop: true while a modal dialog of the window is up or the window is hidden in the tray.
    bool SuspendOnTop() const override;
    void setSuspendOnTop(bool suspend) override;

    // Load and unload.
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(int& Cancel, int UnloadMode);
    void Form_Unload(int& Cancel);

    // Key handlers: KeyAscii is the character code; setting it to 0 takes the key away. The record
    // boxes' own (txtAccount_KeyPress …) are set up with the boxes, as are their Change handlers.
    void txtFilter_KeyPress(int& KeyAscii);
    void txtFilter2_KeyPress(int& KeyAscii);
    void DataGrid1_KeyPress(int& KeyAscii);
    // Grid events: ColIndex 0 is the Account column, 1 the URL column.
    void DataGrid1_ColResize(qint16 ColIndex, int& Cancel);
    void DataGrid1_HeadClick(qint16 ColIndex);

    // Asks for the master password again; true when it was typed correctly.
    bool ConfirmPassword();
    // Answers for the next password confirmations, in the order queued, in place of a user at the dialog:
    // the text typed and OK, or std::nullopt for Cancel. While answers are queued no dialog is shown.
    static void queueConfirmation(const std::optional<QString>& typed);
    static void clearConfirmations();

    // Takes a window (null: this one) out of the topmost layer at once; the next on-top look may put it
    // back.
    void MakeNormal(QWidget* window = nullptr);
    // Brings the window back from the tray or from minimised: SuspendOnTop off, shown, raised, activated.
    void restoreFromTray();
    // The window lost the focus: the on-top timer looks again only after a longer wait.
    void Form_LostFocus();
    // Dragging the window by its cool bar. Button: 1 left, 2 right, 4 middle (held buttons while moving);
    // X and Y in the bar's pixels.
    void CoolBar1_MouseDown(int Button, int Shift, float X, float Y);
    void CoolBar1_MouseMove(int Button, int Shift, float X, float Y);
    // What the tray icon and its menu ask of the window; the tray icon exists from load to unload.
    void m_frmSysTray_SysTrayMouseDown(Qt::MouseButton button);
    void m_frmSysTray_SysTrayDoubleClick(Qt::MouseButton button);
    void m_frmSysTray_MenuClick(int index, const QString& key);
    frmSysTray* sysTray() const;
    // The print command: the master password again, then the report of the records the grid lists.
    void PrintData();

public Q_SLOTS:
    // Record boxes: copy, reveal, the generator, the browser, the information box.
    void cmdAccount_Click();
    void cmdURL_Click();
    void cmdName_Click();
    void cmdHint_Click();
    void cmdInfo_Click();
    void cmdSP_Click();
    void cmdKey1_Click();
    void cmdKey2_Click();
    void cmdKey3_Click();
    void cmdKey4_Click();
    void Timer1_Timer();
    void cmdRP_Click();
    void cmdGoUrl_Click();
    void DisplayInfo() override;
    void RefreshTextControls() override;

    // Editing, the state of the commands, the filters.
    void cmdAdd_Click();
    void cmdClear_Click();
    void UpdateTools(bool bImages = false) override;
    void cmdFilter_Click();
    void cmdFilter2_Click();
    void cmdClearFilter_Click();

    // Data file commands.
    void mnuNewDB_Click();
    void mnuFileOpen_Click();
    void mnuOpenSpecial_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuFileExit_Click();

    // Security time-out and options.
    void InitTimer();
    void Timer2_Timer();
    void cmdPassword_Click();
    void mnuViewOptions_Click();

    // Toolbar pictures, on-top, tray, help, about, print.
    void imgTBontop_MouseDown();
    void imgTBontop_MouseUp();
    void imgTBontop_Click();
    void imgTBmin_Click();
    void imgTBexit_Click();
    void imgTBsave_Click();
    void timOnTop_Timer();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();
    void mnuFilePrint_Click();
    // Import... and Export..., beside the data file commands. Export asks for the master password first.
    void mnuFileImport_Click();
    void mnuFileExport_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Creating, loading and unloading (frmMain.cpp).
    void setUpStatusBar();
    void setUpGrid();
    void setUpRecordBoxes();
    void connectCommands();
    void connectPictureButtons();
    void connectMenus();
    void setUpCoolBar();
    void applyWindowGeometryAtLoad();
    void placeAtSavedPosition();
    void applyColumnWidthsAtLoad();
    void openDataFileAtLoad();

    // Records and editing (frmMain_records.cpp, frmMain_editing.cpp).
    void revealBox(QLineEdit* box);
    void recordBoxChanged();
    void enterMovesOn(int& KeyAscii, QWidget* box);
    void applySetting(const QString& control, bool enabled);
    QObject* control(const QString& name);
    void showRecordCount(const char* suffix);
    void refreshDataControl();

    // Grid (frmMain_grid.cpp).
    void recordsetReplaced();
    void recountAfterRemoval();
    void syncGridToRecord();
    void showSortIndicator();
    void gridRowChosen(int row);
    void columnResized(int logicalIndex, int oldSize, int newSize);
    void setColumnWidthTwips(int column, float twips);
    float columnWidthTwips(int column) const;
    float gridWidthTwips() const;
    void reloadGrid();
    void runFilter(bool contains);

    // Files (frmMain_files.cpp).
    bool DBconnect(const SecretText& password);

    // Security (frmMain_security.cpp).
    void showLockState(bool locked);
    void lockWithSession();
    void hideUnlockButton();

    // Chrome (frmMain_chrome.cpp).
    void createTray();
    void removeTray();
    void showOnTopLamp();
    void showHelpFile();
    void windowStateChanged();

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<DataFileCommands> m_files;
    std::unique_ptr<ImportExportCommands> m_exchange;
    RecordBinder* m_binder;
    AccountGridModel* m_gridModel;
    OnTopKeeper* m_onTop;
    SecurityLock* m_lock;
    SecretReveal* m_reveal = nullptr;
    QPointer<frmSysTray> m_frmSysTray;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QHash<QString, QPointer<QObject>> m_controls;
    QList<QMetaObject::Connection> m_recordsetConnections;
    QString m_commandText;
    QString m_helpFile;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_syncingGrid = false;
    bool m_resizingColumns = false;
    bool m_lastSortAscending = false;
    qint16 m_sortColumn = 0;
    qint16 m_sortDirection = 0;
    float m_dragOriginX = 0.0F;
    float m_dragOriginY = 0.0F;
    bool m_minimisedWithoutTray = false;
};
