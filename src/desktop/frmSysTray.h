#pragma once
// The tray icon and its pop-up menu, as a small hidden window that reports what the user does with them.
//
// Creating the window adds the icon to the tray; unloading it (or destroying it) removes the icon. The
// owner fills the menu with AddMenuItem(), sets the tip and the icon, and listens to the signals:
// SysTrayMouseDown/Up/Move/DoubleClick for the icon, MenuClick for the menu. Where the desktop has no
// tray (isAvailable() false) everything still works: the tip, the icon handle and the menu are kept,
// and nothing is ever shown in a tray.
#include <QList>
#include <QString>
#include <QWidget>
#include <QtGlobal>

class QAction;
class QIcon;
class QMenu;
class QSystemTrayIcon;

class frmSysTray : public QWidget
{
    Q_OBJECT

public:
    // The tip holds at most this many visible characters (a 64-character field with its closing zero).
    static constexpr int kToolTipLength = 63;

    // Loads the hidden window and adds the icon, with the window's own icon and the program's name as tip.
    explicit frmSysTray(QWidget* parent = nullptr);
    ~frmSysTray() override;

    // True where the desktop shows a tray now (it can come and go with the panel).
    static bool isAvailable();

    // The tray's tip (not the widget's tooltip: the window is never shown). Setting a different text
    // keeps its first 63 characters (up to any zero character) and updates the tray's tip only.
    QString ToolTip() const { return m_tip; }
    void setToolTip(const QString& text);

    // Icons are handed to the tray by handle. iconHandleFor() gives every distinct icon a handle for
    // the life of the program; 0 stands for no icon.
    static qint32 iconHandleFor(const QIcon& icon);
    static QIcon iconForHandle(qint32 handle);
    qint32 IconHandle() const { return m_iconHandle; }
    // Setting a different handle updates the tray's icon only.
    void setIconHandle(qint32 handle);

    // Adds a menu item (caption "-" is a separator line) and returns its index: the first call uses
    // item 0, later calls the highest index so far plus one. The default item is drawn bold.
    int AddMenuItem(const QString& caption, const QString& key, bool isDefault = false);
    // Pops the menu up at the mouse position, unless the tray has shown it already. The menu is also the
    // tray icon's context menu, so the desktop shows it the way it shows every tray menu.
    void ShowMenu();

    // The tray's report of a mouse message over the icon (see TrayMessages.h); raises the event it means.
    void TrayCallback(int message);

    // Removes the icon from the tray; nothing more is sent to the tray after this.
    void unload();

    // For the owner and for tests.
    QMenu* mnuPopup() const { return m_popup; }
    QAction* mnuSysTray(int index) const;
    int menuItemCount() const { return int(m_items.size()); }
    int defaultIndex() const { return m_defaultIndex; }
    bool isIconAdded() const { return m_added; }
    const QSystemTrayIcon* trayIcon() const { return m_icon; }

Q_SIGNALS:
    void SysTrayMouseDown(Qt::MouseButton button);
    void SysTrayMouseUp(Qt::MouseButton button);
    void SysTrayMouseMove();
    void SysTrayDoubleClick(Qt::MouseButton button);
    void MenuClick(int index, const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void mnuSysTray_Click(int index);
    void markDefaultItem();

    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_popup = nullptr;
    QList<QAction*> m_items; // mnuSysTray, index 0 upwards
    bool m_item0InUse = false;
    int m_defaultIndex = 0;
    QString m_tip;
    qint32 m_iconHandle = 0;
    bool m_added = false;
};

namespace SysTraySeam {
// Makes isAvailable() answer `available` until clear(), so a window can be tried on a desktop with or
// without a tray.
void setAvailable(bool available);
void clear();
} // namespace SysTraySeam
