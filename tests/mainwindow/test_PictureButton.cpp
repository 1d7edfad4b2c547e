// The picture button: pictures by resource name, pressing with any mouse button, clicking with the
// left one, nothing for a disabled button, and following a command's enabled state.
#include "mainwindow/PictureButton.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestPictureButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void picturesComeFromTheResources()
    {
        PictureButton button;
        button.setUpPicture(QStringLiteral("PEEKUP"));
        QCOMPARE(button.pictureName(), QStringLiteral("PEEKUP"));
        QVERIFY(!button.picture().isNull());
        QCOMPARE(button.sizeHint(), button.picture().size());

        // A name that names no resource leaves the picture that was there.
        QVERIFY(!UpdateImage(&button, QStringLiteral("NO-SUCH-PICTURE")));
        QCOMPARE(button.pictureName(), QStringLiteral("PEEKUP"));
        QVERIFY(!button.picture().isNull());
        // So does a resource that is not a picture.
        QVERIFY(!UpdateImage(&button, QStringLiteral("DATABASE")));
        QCOMPARE(button.pictureName(), QStringLiteral("PEEKUP"));
    }

    void anyButtonPressesOnlyTheLeftClicks_data()
    {
        QTest::addColumn<Qt::MouseButton>("mouse");
        QTest::addColumn<bool>("clicks");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
        QTest::newRow("middle") << Qt::MiddleButton << false;
    }

    void anyButtonPressesOnlyTheLeftClicks()
    {
        QFETCH(Qt::MouseButton, mouse);
        QFETCH(bool, clicks);
        PictureButton button;
        button.setUpPicture(QStringLiteral("XUP"));
        button.setDownPicture(QStringLiteral("XDOWN"));
        button.resize(32, 32);
        QSignalSpy clicked(&button, &PictureButton::clicked);

        QTest::mousePress(&button, mouse, {}, QPoint(10, 10));
        QCOMPARE(button.pictureName(), QStringLiteral("XDOWN"));
        QTest::mouseRelease(&button, mouse, {}, QPoint(10, 10));
        QCOMPARE(button.pictureName(), QStringLiteral("XUP"));
        QCOMPARE(clicked.count(), clicks ? 1 : 0);
    }

    void releasingOutsideIsNoClick()
    {
        PictureButton button;
        button.setUpPicture(QStringLiteral("XUP"));
        button.setDownPicture(QStringLiteral("XDOWN"));
        button.resize(32, 32);
        QSignalSpy clicked(&button, &PictureButton::clicked);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 10));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(button.pictureName(), QStringLiteral("XUP")); // released, even without the click
    }

    void aDisabledButtonGetsNoEvents()
    {
        PictureButton button;
        button.setUpPicture(QStringLiteral("XUP"));
        button.setDownPicture(QStringLiteral("XDOWN"));
        button.resize(32, 32);
        button.setEnabled(false);
        QSignalSpy down(&button, &PictureButton::mouseDown);
        QSignalSpy clicked(&button, &PictureButton::clicked);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.pictureName(), QStringLiteral("XUP"));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(down.count(), 0);
        QCOMPARE(clicked.count(), 0);
    }

    void followsTheCommandItStandsFor()
    {
        QWidget panel;
        auto* command = new QPushButton(&panel);
        command->setVisible(false);
        auto* button = new PictureButton(&panel);
        command->setEnabled(false);
        button->mirrorEnabledOf(command);
        QVERIFY(!button->isEnabled());
        command->setEnabled(true);
        QVERIFY(button->isEnabled());
        command->setEnabled(false);
        QVERIFY(!button->isEnabled());
    }
};

QTEST_MAIN(TestPictureButton)
#include "test_PictureButton.moc"
