// The tray window: what each mouse message raises, how Qt's activations map onto them, what the tray
// icon holds until unload, and the menu's indices, default item and clicks.
#include "desktop/TrayMessages.h"
#include "desktop/frmSysTray.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
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
    void decodesEveryMouseMessage_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("button");
        const int none = int(TrayEvent::None);
        QTest::newRow("510") << 510 << none << int(Qt::NoButton);
        QTest::newRow("511") << 511 << none << int(Qt::NoButton);
        QTest::newRow("512 moved") << 512 << int(TrayEvent::MouseMove) << int(Qt::NoButton);
        QTest::newRow("513 left pressed") << 513 << none << int(Qt::NoButton);
        QTest::newRow("514 left released") << 514 << int(TrayEvent::MouseDown) << int(Qt::LeftButton);
        QTest::newRow("515 left double") << 515 << int(TrayEvent::DoubleClick) << int(Qt::LeftButton);
        QTest::newRow("516 right pressed") << 516 << int(TrayEvent::MouseDown) << int(Qt::RightButton);
        QTest::newRow("517 right released") << 517 << int(TrayEvent::MouseUp) << int(Qt::RightButton);
        QTest::newRow("518 right double") << 518 << int(TrayEvent::DoubleClick) << int(Qt::RightButton);
        QTest::newRow("519 middle pressed") << 519 << none << int(Qt::NoButton);
        QTest::newRow("520 middle released") << 520 << none << int(Qt::NoButton);
    }
    void decodesEveryMouseMessage()
    {
        QFETCH(int, message);
        QFETCH(int, event);
        QFETCH(int, button);
        const TrayNotification decoded = decodeTrayMessage(message);
        QCOMPARE(int(decoded.event), event);
        QCOMPARE(int(decoded.button), button);
    }

    // A completed left click restores on release, a context request opens the menu on the press.
    void mapsActivationsOntoMessages()
    {
        QCOMPARE(trayMessageForActivation(QSystemTrayIcon::Trigger), 514);
        QCOMPARE(trayMessageForActivation(QSystemTrayIcon::DoubleClick), 515);
        QCOMPARE(trayMessageForActivation(QSystemTrayIcon::Context), 516);
        QCOMPARE(trayMessageForActivation(QSystemTrayIcon::MiddleClick), 0);
        QCOMPARE(trayMessageForActivation(QSystemTrayIcon::Unknown), 0);
    }

    // Each decoded event reaches its own signal with its button; pressing and holding raises nothing.
    void raisesTheDecodedEventsAsSignals()
    {
        frmSysTray tray;
        QSignalSpy down(&tray, &frmSysTray::SysTrayMouseDown);
        QSignalSpy up(&tray, &frmSysTray::SysTrayMouseUp);
        QSignalSpy move(&tray, &frmSysTray::SysTrayMouseMove);
        QSignalSpy twice(&tray, &frmSysTray::SysTrayDoubleClick);
        for (int message : {513, 516, 517, 518, 512})
            tray.TrayCallback(message);
        QCOMPARE((QList<qsizetype>{down.count(), up.count(), twice.count(), move.count()}),
                 (QList<qsizetype>{1, 1, 1, 1}));
        for (const QSignalSpy* spy : {&down, &up, &twice})
            QCOMPARE(spy->at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    }

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

    void menuItemsGetIndicesKeysAndDefaultAndReportClicks()
    {
        frmSysTray tray;
        QVERIFY(!tray.mnuSysTray(0)->isVisible());
        QCOMPARE(tray.AddMenuItem(QStringLiteral("&Open Lockwell"), QStringLiteral("open"), true), 0);
        QCOMPARE(tray.AddMenuItem(QStringLiteral("-"), QString()), 1);
        QCOMPARE(tray.AddMenuItem(QStringLiteral("&Close"), QStringLiteral("close")), 2);
        QAction* open = tray.mnuSysTray(0);
        QVERIFY(open->isVisible());
        QVERIFY(tray.mnuSysTray(1)->isSeparator());
        QCOMPARE(tray.mnuPopup()->defaultAction(), open);
        QVERIFY(open->font().bold());
        QVERIFY(!tray.mnuSysTray(2)->font().bold());

        QSignalSpy clicks(&tray, &frmSysTray::MenuClick);
        tray.ShowMenu();
        QVERIFY(tray.mnuPopup()->isVisible());
        tray.mnuSysTray(2)->trigger();
        tray.mnuSysTray(0)->trigger();
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks.at(0), QVariantList({2, QStringLiteral("close")}));
        QCOMPARE(clicks.at(1), QVariantList({0, QStringLiteral("open")}));

        // A later default item takes over the bold face.
        QCOMPARE(tray.AddMenuItem(QStringLiteral("&Lock"), QStringLiteral("lock"), true), 3);
        QVERIFY(!open->font().bold());
        QVERIFY(tray.mnuSysTray(3)->font().bold());
    }
};

QTEST_MAIN(TestFrmSysTray)
#include "test_frmSysTray.moc"
