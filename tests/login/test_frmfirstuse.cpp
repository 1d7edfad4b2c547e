// The welcome before the very first login: its texts, with and without the Caps Lock reminder, and its
// rounded outline.
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/frmFirstUse.h"

#include <QLabel>
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

    // Inside along the edges, outside in the rounded-off corners and in the 4-pixel strip.
    void outlineIsARoundedRectangleFromFourFour()
    {
        frmFirstUse welcome;
        const int w = welcome.width();
        const int h = welcome.height();
        const QRegion mask = welcome.mask();
        QCOMPARE(mask.boundingRect(), QRect(QPoint(4, 4), QPoint(w - 1, h - 1)));
        for (const QPoint& in : {QPoint(4, h / 2), QPoint(w / 2, 4), QPoint(w - 1, h / 2), QPoint(4 + 8, 4 + 8)})
            QVERIFY(mask.contains(in));
        for (const QPoint& out : {QPoint(5, 5), QPoint(w - 2, h - 2), QPoint(w - 2, 5), QPoint(5, h - 2)})
            QVERIFY(!mask.contains(out));

        welcome.setFixedSize(300, 200); // a new size gets a new outline
        welcome.show();
        QCOMPARE(welcome.mask().boundingRect(), QRect(QPoint(4, 4), QPoint(299, 199)));
    }
};

QTEST_MAIN(TestFrmFirstUse)
#include "test_frmfirstuse.moc"
