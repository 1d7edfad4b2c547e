// The tray window: what each mouse message raises, how Qt's activations map onto them, the tip and icon
// sent to the tray only when they change, the menu's indices, default item and clicks, and unloading.
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

    void loadAddsTheIconAndUnloadRemovesItOnce()
    {
        frmSysTray tray;
        QVERIFY(!tray.isVisible());
        QVERIFY(tray.isIconAdded());
        QCOMPARE(tray.trayRequests().added, 1);
        tray.close();
        QVERIFY(!tray.isIconAdded());
        tray.unload();
        QCOMPARE(tray.trayRequests().removed, 1);
        // Nothing reaches the tray after the icon is gone.
        tray.setToolTip(QStringLiteral("after unload"));
        QCOMPARE(tray.trayRequests().tipUpdates, 0);
    }

    void toolTipIsCutAndSentOnlyWhenChanged()
    {
        frmSysTray tray;
        tray.setToolTip(QStringLiteral("Lockwell"));
        QCOMPARE(tray.ToolTip(), QStringLiteral("Lockwell"));
        QCOMPARE(tray.trayRequests().tipUpdates, 1);
        tray.setToolTip(QStringLiteral("Lockwell"));
        QCOMPARE(tray.trayRequests().tipUpdates, 1);

        const QString sixtyThree(63, QLatin1Char('a'));
        tray.setToolTip(sixtyThree);
        QCOMPARE(tray.ToolTip(), sixtyThree);
        tray.setToolTip(sixtyThree + QStringLiteral("bcd"));
        QCOMPARE(tray.ToolTip(), sixtyThree);
        QCOMPARE(tray.trayRequests().tipUpdates, 2);

        // A zero ends the tip, as it ends the tray's text field.
        tray.setToolTip(QStringLiteral("front") + QChar(0) + QStringLiteral("back"));
        QCOMPARE(tray.ToolTip(), QStringLiteral("front"));
        QCOMPARE(tray.trayRequests().tipUpdates, 3);
    }

    void iconHandleIsSentOnlyWhenChanged()
    {
        const qint32 red = frmSysTray::iconHandleFor(plainIcon(Qt::red));
        const QIcon blueIcon = plainIcon(Qt::blue);
        const qint32 blue = frmSysTray::iconHandleFor(blueIcon);
        QVERIFY(red != 0 && blue != 0 && red != blue);
        QCOMPARE(frmSysTray::iconHandleFor(blueIcon), blue);
        QCOMPARE(frmSysTray::iconHandleFor(QIcon()), 0);

        frmSysTray tray;
        tray.setIconHandle(red);
        tray.setIconHandle(red);
        QCOMPARE(tray.IconHandle(), red);
        QCOMPARE(tray.trayRequests().iconUpdates, 1);
        tray.setIconHandle(blue);
        QCOMPARE(tray.trayRequests().iconUpdates, 2);
        QCOMPARE(frmSysTray::iconForHandle(blue).cacheKey(), blueIcon.cacheKey());
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
