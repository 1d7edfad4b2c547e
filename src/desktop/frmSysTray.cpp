#include "desktop/frmSysTray.h"

#include "desktop/TrayMessages.h"
#include "errortrap/Bulwark.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <optional>

namespace {
constexpr const char* kModule = "frmSysTray.frm";

std::optional<bool> g_availableOverride;

// Handles of the icons handed to the tray, for the life of the program.
struct IconTable
{
    QHash<qint64, qint32> handleOfKey;
    QHash<qint32, QIcon> iconOfHandle;
    qint32 lastHandle = 0;
};
IconTable& iconTable()
{
    static IconTable table;
    return table;
}

// The tip as the tray keeps it: up to the first zero character, at most 63 characters.
QString cutTip(const QString& text)
{
    const qsizetype zero = text.indexOf(QChar(0));
    return (zero < 0 ? text : text.left(zero)).left(frmSysTray::kToolTipLength);
}
} // namespace

frmSysTray::frmSysTray(QWidget* parent) : QWidget(parent, Qt::Window)
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    setWindowTitle(QStringLiteral("Sys Tray Interface"));
    m_popup = new QMenu(QStringLiteral("&Popup"), this);
    m_popup->setObjectName(QStringLiteral("mnuPopup"));
    // Item 0 exists from the start, hidden until AddMenuItem puts it to use.
    auto* item0 = new QAction(m_popup);
    item0->setObjectName(QStringLiteral("mnuSysTray"));
    item0->setVisible(false);
    m_popup->addAction(item0);
    m_items.append(item0);
    connect(item0, &QAction::triggered, this, [this] { mnuSysTray_Click(0); });

    m_icon = new QSystemTrayIcon(this);
    // The platform's own route for the menu: the X11 tray pops it up at the press, a StatusNotifierItem
    // host (KDE, GNOME, Wayland desktops) draws it itself. A popup of our own would be refused on Wayland.
    m_icon->setContextMenu(m_popup);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { TrayCallback(trayMessageForActivation(reason)); });
    Form_Load();
}

frmSysTray::~frmSysTray()
{
    BW_TRACE(kModule, "Sub Form_Terminate");
    unload();
}

void frmSysTray::Form_Load()
{
    BW_TRACE(kModule, "Sub Form_Load");
    m_iconHandle = iconHandleFor(windowIcon());
    m_tip = cutTip(QGuiApplication::applicationDisplayName());
    m_icon->setIcon(iconForHandle(m_iconHandle));
    m_icon->setToolTip(m_tip);
    // Qt refuses to show an icon without a picture; it is shown as soon as one is set.
    if (!m_icon->icon().isNull())
        m_icon->show();
    m_added = true;
}

bool frmSysTray::isAvailable()
{
    BW_TRACE(kModule, "Function isAvailable");
    if (g_availableOverride)
        return *g_availableOverride;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void frmSysTray::setToolTip(const QString& text)
{
    BW_TRACE(kModule, "Property Let ToolTip");
    // Compared as the tray would keep it, so a long tip set again is not sent again.
    const QString tip = cutTip(text);
    if (tip == m_tip)
        return;
    m_tip = tip;
    if (!m_added)
        return;
    m_icon->setToolTip(m_tip);
}

qint32 frmSysTray::iconHandleFor(const QIcon& icon)
{
    BW_TRACE(kModule, "Function iconHandleFor");
    if (icon.isNull())
        return 0;
    IconTable& table = iconTable();
    const auto found = table.handleOfKey.constFind(icon.cacheKey());
    if (found != table.handleOfKey.cend())
        return found.value();
    const qint32 handle = ++table.lastHandle;
    table.handleOfKey.insert(icon.cacheKey(), handle);
    table.iconOfHandle.insert(handle, icon);
    return handle;
}

QIcon frmSysTray::iconForHandle(qint32 handle)
{
    BW_TRACE(kModule, "Function iconForHandle");
    return iconTable().iconOfHandle.value(handle);
}

void frmSysTray::setIconHandle(qint32 handle)
{
    BW_TRACE(kModule, "Property Let IconHandle");
    if (handle == m_iconHandle)
        return;
    m_iconHandle = handle;
    if (!m_added)
        return;
    const QIcon icon = iconForHandle(handle);
    // The tray cannot show "no picture": an unknown handle leaves the picture it has.
    if (icon.isNull())
        return;
    m_icon->setIcon(icon);
    m_icon->show();
}

int frmSysTray::AddMenuItem(const QString& caption, const QString& key, bool isDefault)
{
    BW_TRACE(kModule, "Function AddMenuItem");
    int index = 0;
    if (m_item0InUse) {
        index = int(m_items.size());
        auto* item = new QAction(m_popup);
        item->setObjectName(QStringLiteral("mnuSysTray"));
        m_popup->addAction(item);
        m_items.append(item);
        connect(item, &QAction::triggered, this, [this, index] { mnuSysTray_Click(index); });
    } else {
        m_item0InUse = true;
    }
    QAction* item = m_items[index];
    item->setVisible(true);
    item->setData(key);
    // A separator keeps no text: some styles draw a separator's text beside its line.
    const bool separator = caption == QLatin1String("-");
    item->setText(separator ? QString() : caption);
    item->setSeparator(separator);
    if (isDefault)
        m_defaultIndex = index;
    markDefaultItem();
    return index;
}

void frmSysTray::markDefaultItem()
{
    BW_TRACE(kModule, "Sub markDefaultItem");
    for (int i = 0; i < m_items.size(); ++i) {
        QFont font = m_items[i]->font();
        font.setBold(i == m_defaultIndex);
        m_items[i]->setFont(font);
    }
    m_popup->setDefaultAction(mnuSysTray(m_defaultIndex));
}

QAction* frmSysTray::mnuSysTray(int index) const
{
    BW_TRACE(kModule, "Function mnuSysTray");
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

void frmSysTray::ShowMenu()
{
    BW_TRACE(kModule, "Sub ShowMenu");
    // A popup menu takes the mouse and keyboard itself and closes on a click elsewhere; both buttons
    // choose an item. Where the tray has already shown it (X11 does, at the press), it stays as it is.
    markDefaultItem();
    if (!m_popup->isVisible())
        m_popup->popup(QCursor::pos());
}

void frmSysTray::mnuSysTray_Click(int index)
{
    bwHandler(kModule, "Sub mnuSysTray_Click", [&] { Q_EMIT MenuClick(index, m_items[index]->data().toString()); });
}

void frmSysTray::TrayCallback(int message)
{
    bwHandler(kModule, "Sub Form_MouseMove", [&] {
        const TrayNotification what = decodeTrayMessage(message);
        switch (what.event) {
        case TrayEvent::MouseDown:
            Q_EMIT SysTrayMouseDown(what.button);
            break;
        case TrayEvent::MouseUp:
            Q_EMIT SysTrayMouseUp(what.button);
            break;
        case TrayEvent::MouseMove:
            Q_EMIT SysTrayMouseMove();
            break;
        case TrayEvent::DoubleClick:
            Q_EMIT SysTrayDoubleClick(what.button);
            break;
        case TrayEvent::None:
            break;
        }
    });
}

void frmSysTray::unload()
{
    BW_TRACE(kModule, "Sub Form_Unload");
    if (!m_added)
        return;
    m_icon->hide();
    m_added = false;
}

void frmSysTray::closeEvent(QCloseEvent* event)
{
    bwHandler(kModule, "Sub Form_QueryUnload", [&] { unload(); });
    event->accept();
}

namespace SysTraySeam {
void setAvailable(bool available)
{
    g_availableOverride = available;
}
void clear()
{
    g_availableOverride.reset();
}
} // namespace SysTraySeam
