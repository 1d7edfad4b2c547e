// The tray window: what the tray icon holds until unload.
#include "desktop/TrayMessages.h"
#include "desktop/frmSysTray.h"

#include <QMenu>
#include <QPixmap>
#include <QTest>

namespace {
QIcon plainIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}
} // namespace

class TestFrmSysTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    // What the tray icon itself holds: shown once it has a picture, the tip cut as the tray keeps it, the
    // icon by handle, the menu handed to the platform; after unload it is gone and nothing changes it.
    void theTrayIconHoldsTipIconAndMenuUntilUnload()
    {
        const QIcon redIcon = plainIcon(Qt::red);
        const qint32 red = frmSysTray::iconHandleFor(redIcon);
        const qint32 blue = frmSysTray::iconHandleFor(plainIcon(Qt::blue));
        QVERIFY(red != 0 && blue != 0 && red != blue);
        QCOMPARE(frmSysTray::iconHandleFor(redIcon), red);
        QCOMPARE(frmSysTray::iconHandleFor(QIcon()), 0);

        frmSysTray tray;
        const QSystemTrayIcon* icon = tray.trayIcon();
        QVERIFY(!tray.isVisible());
        QCOMPARE(icon->contextMenu(), tray.mnuPopup());
        tray.setIconHandle(red);
        QVERIFY(icon->isVisible());
        QCOMPARE(icon->icon().cacheKey(), redIcon.cacheKey());
        tray.setIconHandle(9999); // never handed out: the picture stays
        QCOMPARE(icon->icon().cacheKey(), redIcon.cacheKey());

        const QString sixtyThree(63, QLatin1Char('a'));
        tray.setToolTip(sixtyThree + QStringLiteral("bcd"));
        QCOMPARE(icon->toolTip(), sixtyThree);
        tray.setToolTip(QStringLiteral("front") + QChar(0) + QStringLiteral("back")); // a zero ends the tip
        QCOMPARE(icon->toolTip(), QStringLiteral("front"));
        QCOMPARE(tray.ToolTip(), QStringLiteral("front"));

        tray.close();
        QVERIFY(!tray.isIconAdded());
        QVERIFY(!icon->isVisible());
        tray.setToolTip(QStringLiteral("after unload"));
        tray.setIconHandle(blue);
        QCOMPARE(icon->toolTip(), QStringLiteral("front"));
        QCOMPARE(icon->icon().cacheKey(), redIcon.cacheKey());
        QVERIFY(!icon->isVisible());
    }
};

QTEST_MAIN(TestFrmSysTray)
#include "test_frmSysTray.moc"
