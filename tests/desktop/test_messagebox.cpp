// Message boxes: the Escape answer of the real box is the safe one.
#include "desktop/MessageBox.h"

#include <QMessageBox>
#include <QTest>
#include <memory>

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { MessageBoxSeam::clear(); }

    void escapeGivesTheSafeAnswer_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << int(vb::vbOKOnly) << int(vb::vbOK);
        QTest::newRow("ok cancel") << int(vb::vbOKCancel) << int(vb::vbCancel);
        QTest::newRow("abort retry ignore") << int(vb::vbAbortRetryIgnore) << int(vb::vbAbort);
        QTest::newRow("yes no") << int(vb::vbYesNo) << int(vb::vbNo);
    }
    void escapeGivesTheSafeAnswer()
    {
        QFETCH(int, style);
        QFETCH(int, answer);
        const MessageBoxRequest request = msgbox::describe(QStringLiteral("?"), style, QStringLiteral("T"));
        std::unique_ptr<QMessageBox> box(msgbox::createMessageBox(request, nullptr));
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(msgbox::answerOf(*box, request), answer);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Seam Test Program"));
    TestMessageBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_messagebox.moc"
