// The welcome before the very first login: its texts, with and without the Caps Lock reminder, and its
// rounded outline.
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/frmFirstUse.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kWelcome = QStringLiteral(
    "Please take care to enter a suitable User Name in the following Login screen.\r\n\r\n"
    "NOTE: A default user name has been entered but you can change this to something more suitable if you "
    "wish.\r\n\r\n\r\n"
    "Also take care to enter a strong (MASTER) password!\r\n"
    "Data files are encrypted using this Login information so\r\n"
    "it is worth paying attention to this detail!");
const QString kCapsReminder = QStringLiteral("\r\n\r\n(Beware that your Caps key is ON!)");
} // namespace

class TestFrmFirstUse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { bwReset(); }
    void cleanup() { CapsLockSeam::pin(std::nullopt); }

    void textsNameCapsLockOnlyWhenItIsOn()
    {
        for (bool capsOn : {false, true}) {
            CapsLockSeam::pin(capsOn);
            frmFirstUse welcome;
            QCOMPARE(welcome.findChild<QLabel*>(QStringLiteral("lblWarn"))->text(),
                     QStringLiteral("Welcome to Lockwell !"));
            QCOMPARE(welcome.findChild<QLabel*>(QStringLiteral("lblWarn2"))->text(),
                     capsOn ? kWelcome + kCapsReminder : kWelcome);
        }
    }

    void outlineIsARoundedRectangleFromFourFour()
    {
        frmFirstUse welcome;
        const int w = welcome.width();
        const int h = welcome.height();
        const QRegion mask = welcome.mask();
        QVERIFY(!mask.isEmpty());
        QCOMPARE(mask.boundingRect(), QRect(QPoint(4, 4), QPoint(w - 1, h - 1)));
        // Inside along the edges, outside in the rounded-off corners and in the 4-pixel strip.
        for (const QPoint& in : {QPoint(w / 2, h / 2), QPoint(4, h / 2), QPoint(w / 2, 4), QPoint(w - 1, h / 2),
                                 QPoint(w / 2, h - 1), QPoint(4 + 25, 4 + 1), QPoint(4 + 8, 4 + 8)})
            QVERIFY2(mask.contains(in), qPrintable(QStringLiteral("(%1,%2)").arg(in.x()).arg(in.y())));
        for (const QPoint& out : {QPoint(4, 4), QPoint(5, 5), QPoint(w - 2, h - 2), QPoint(w - 2, 5), QPoint(5, h - 2),
                                  QPoint(3, h / 2), QPoint(w / 2, 3), QPoint(w, h / 2)})
            QVERIFY2(!mask.contains(out), qPrintable(QStringLiteral("(%1,%2)").arg(out.x()).arg(out.y())));

        // A new size gets a new outline.
        welcome.setFixedSize(300, 200);
        welcome.show();
        QCOMPARE(welcome.mask().boundingRect(), QRect(QPoint(4, 4), QPoint(299, 199)));
    }

    void continueClosesTheWelcome()
    {
        frmFirstUse welcome;
        QVERIFY(welcome.windowFlags() & Qt::FramelessWindowHint);
        welcome.show();
        QTest::mouseClick(welcome.findChild<QPushButton*>(QStringLiteral("cmdContinue")), Qt::LeftButton);
        QVERIFY(!welcome.isVisible());
        QCOMPARE(welcome.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestFrmFirstUse)
#include "test_frmfirstuse.moc"
