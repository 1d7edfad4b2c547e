#pragma once
// The records window: the grid of accounts, the record panel with its fourteen boxes and their copy and
// reveal commands, the filter panel, the picture-button toolbar and the hidden menus whose handlers are
// the window's named commands.
//
// Creating the window does not load it: Form_Load reads the user's settings, opens the data file and
// starts the timers, and runs only after a successful login. Closing the window (its close box, the exit
// commands, close()) runs Form_QueryUnload and Form_Unload once, when the window was loaded.
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
#include <QTimer>
#include <memory>

// Security time-out: the count behind it.
#include "tools/SecurityCountdown.h"

#include <optional>
// End of security time-out.

namespace Ui {
class frmMain;
}

class AccountGridModel;
class DataControl;
class DataFileCommands;
class QLabel;
class QLineEdit;
class QObject;
class Recordset;
class RecordBinder;
class SecretText;
class frmSysTray;

class frmMain : public QMainWindow, public DataFileHost
{
    Q_OBJECT

public:
    // Creates the window and its controls; nothing is read or opened until Form_Load.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The command text a data file is opened from at load; the program's arguments unless set before
    // Form_Load.
    QString commandText;

    // True while the security time-out has locked the window.
    bool Locked = false;

    // The help file named at load.
    QString helpFile;

    // The reveal timer, the one-minute security timer and the stay-on-top timer.
    QTimer Timer1;
    QTimer Timer2;
    QTimer timOnTop;

    // The security countdown: tick length in milliseconds, the minutes it starts from and those left.
    qint32 countdownTick = 0;
    qint16 countdownStart = 0;
    qint16 countdownLeft = 0;

    bool isFormLoaded() const { return m_loaded; }

    // The data control Adodc1 and its record set (null when none).
    DataControl& dataControl() override;
    const DataControl& dataControl() const;
    std::shared_ptr<Recordset> recordset() const;
    // A data file is open: the record set exists and has an active connection.
    bool isDataFileOpen() const;

    // The data file commands and the state they keep (the open password, the last file closed).
    DataFileCommands& fileCommands() const { return *m_files; }

    // The status bar's panels, 1 and 2.
    void setStatusPanel(int panel, const QString& text) override;
    QString statusPanel(int panel) const;

    // The rest of what the data file commands need of the window.
    QWidget* dialogOwner() override { return this; }
    void removeExtraGridColumns() override;
    void rebindGrid() override;
    void setSuspendOnTop(bool suspend) override;

    // The text a box shows (edit boxes of either kind).
    QString boxText(const char* box) const;

    // Load and unload.
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(int& Cancel, int UnloadMode);
    void Form_Unload(int& Cancel);

    // Key handlers: KeyAscii is the character code; setting it to 0 takes the key away.
    void txtAccount_KeyPress(int& KeyAscii);
    void txtURL_KeyPress(int& KeyAscii);
    void txtID_KeyPress(int& KeyAscii);
    void txtPW_KeyPress(int& KeyAscii);
    void txtHint_KeyPress(int& KeyAscii);
    void txtKey1Label_KeyPress(int& KeyAscii);
    void txtKey1_KeyPress(int& KeyAscii);
    void txtKey2Label_KeyPress(int& KeyAscii);
    void txtKey2_KeyPress(int& KeyAscii);
    void txtKey3Label_KeyPress(int& KeyAscii);
    void txtKey3_KeyPress(int& KeyAscii);
    void txtKey4Label_KeyPress(int& KeyAscii);
    void txtKey4_KeyPress(int& KeyAscii);
    void txtFilter_KeyPress(int& KeyAscii);
    void txtFilter2_KeyPress(int& KeyAscii);
    void DataGrid1_KeyPress(int& KeyAscii);

    // Grid events: ColIndex 0 is the Account column, 1 the URL column.
    void DataGrid1_ColResize(qint16 ColIndex, int& Cancel);
    void DataGrid1_HeadClick(qint16 ColIndex);

    // Asks for the master password again; true when it was typed correctly.
    bool ConfirmPassword();

public Q_SLOTS:
    // Record boxes: copy, reveal, the generator, the browser.
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
    // The masks after the options dialog: the reveal timer stops; all five secrets plain while PeekOn is
    // off, all five masked while it is on.
    void MaskAfterOptions();

    // Editing and the state of the commands.
    void cmdAdd_Click();
    void cmdClear_Click();
    void UpdateTools(bool bImages = false) override;
    void txtAccount_Change();
    void txtURL_Change();
    void txtID_Change();
    void txtPW_Change();
    void txtHint_Change();
    void txtINFO_Change();
    void txtKey1Label_Change();
    void txtKey2Label_Change();
    void txtKey3Label_Change();
    void txtKey4Label_Change();
    void txtKey1_Change();
    void txtKey2_Change();
    void txtKey3_Change();
    void txtKey4_Change();

    // Filters.
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

    // Security time-out.
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

    // Security time-out (frmMain_security.cpp).
public:
    // Answers for the next password confirmations, in the order queued, in place of a user at the dialog:
    // the text typed and OK, or std::nullopt for Cancel. While answers are queued no dialog is shown.
    static void queueConfirmation(const std::optional<QString>& typed);
    static void clearConfirmations();

    // The count behind the time-out: minutes left, and whether it has locked the window.
    const SecurityCountdown& securityCountdown() const { return m_countdown; }

private:
    // Records, grid, navigator and filter panel shown and the menus, toolbar and file buttons usable, or
    // all of them hidden and disabled while the window is locked.
    void setRecordsReachable(bool reachable);
    void lockWindow();
    void hideUnlockButton();

    SecurityCountdown m_countdown;
    // End of security time-out.

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Creating the window (frmMain.cpp).
    void setUpStatusBar();
    void setUpGrid();
    void setUpRecordBoxes();
    void connectCommands();
    void connectPictureButtons();
    void connectMenus();
    void setUpCoolBar();
    void applyWindowGeometryAtLoad();
    void applyColumnWidthsAtLoad();
    void openDataFileAtLoad();
    void setErrorTrapOptions();
    void unloadOtherWindows();

    // Records (frmMain_records.cpp).
    void showInformText(const QString& text);
    void copyBox(const char* box);
    void revealBox(const char* box);
    void setMasked(QLineEdit* box, bool masked);
    void maskAllSecrets(bool masked);
    QLineEdit* lineBox(const char* name) const;

    // Editing (frmMain_editing.cpp).
    void recordBoxChanged();
    void enterMovesOn(int& KeyAscii, QWidget* box, const char* procedure);
    void applySetting(const QString& control, bool enabled);
    QObject* control(const QString& name);
    void showRecordCount(const char* suffix);
    void refreshDataControl();

    // Grid (frmMain_grid.cpp).
    void recordsetReplaced();
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
    bool CompactAndEncrypt(const QString& destination, const SecretText& sourcePassword);

    // Chrome (frmMain_chrome.cpp).
    void createTray();
    void removeTray();
    void showOnTopLamp();

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<DataFileCommands> m_files;
    RecordBinder* m_binder;
    AccountGridModel* m_gridModel;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QHash<QString, QPointer<QObject>> m_controls;
    QList<QMetaObject::Connection> m_recordsetConnections;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_syncingGrid = false;
    bool m_resizingColumns = false;
    bool m_lastSortAscending = false;

    // Chrome (frmMain_chrome.cpp): on-top, the tray, dragging by the cool bar, help, about and print.
public:
    // Takes a window (null: this one) out of the topmost layer at once; the next on-top tick may put it
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
    // What the tray icon and its menu ask of the window.
    void m_frmSysTray_SysTrayMouseDown(Qt::MouseButton button);
    void m_frmSysTray_SysTrayDoubleClick(Qt::MouseButton button);
    void m_frmSysTray_MenuClick(int index, const QString& key);
    // The tray icon, from load to unload; null before and after.
    frmSysTray* sysTray() const;
    // The print command: the master password again, then the report of the records the grid lists.
    void PrintData();

private:
    void connectWindowChrome();
    void setTopmost(QWidget* window, bool topmost);
    void showHelpFile();
    void windowStateChanged();

    QPointer<frmSysTray> m_frmSysTray;
    float m_dragOriginX = 0.0F;
    float m_dragOriginY = 0.0F;
    bool m_minimisedWithoutTray = false;
    // End of Chrome.
};
