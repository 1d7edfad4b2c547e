// The picture button: pictures by resource name, pressing with any mouse button, clicking with the
// left one and nothing for a disabled button.
#include "mainwindow/PictureButton.h"

#include <QSignalSpy>
#include <QTest>

namespace {
std::unique_ptr<PictureButton> xButton()
{
    auto button = std::make_unique<PictureButton>();
    button->setUpPicture(QStringLiteral("XUP"));
    button->setDownPicture(QStringLiteral("XDOWN"));
    button->resize(32, 32);
    return button;
}
} // namespace

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
        auto button = xButton();
        QSignalSpy clicked(button.get(), &PictureButton::clicked);
        QTest::mousePress(button.get(), mouse, {}, QPoint(10, 10));
        QCOMPARE(button->pictureName(), QStringLiteral("XDOWN"));
        QTest::mouseRelease(button.get(), mouse, {}, QPoint(10, 10));
        QCOMPARE(button->pictureName(), QStringLiteral("XUP"));
        QCOMPARE(clicked.count(), clicks ? 1 : 0);
    }

    void releasingOutsideOrDisabledIsNoClick()
    {
        auto button = xButton();
        QSignalSpy down(button.get(), &PictureButton::mouseDown);
        QSignalSpy clicked(button.get(), &PictureButton::clicked);
        QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(60, 10));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(button->pictureName(), QStringLiteral("XUP")); // released, even without the click

        button->setEnabled(false);
        down.clear();
        QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button->pictureName(), QStringLiteral("XUP"));
        QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(down.count(), 0);
        QCOMPARE(clicked.count(), 0);
    }
};

QTEST_MAIN(TestPictureButton)
#include "test_PictureButton.moc"
