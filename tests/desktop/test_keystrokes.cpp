// Sending Tab: the focus moves through the window's tab order, even out of a box that takes Tab as text.
#include "desktop/Keystrokes.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

class TestKeystrokes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabMovesFocusAlongTheTabOrder()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* first = new QLineEdit;
        auto* notes = new QPlainTextEdit; // would insert a tab character if it got the key itself
        auto* last = new QLineEdit;
        for (QWidget* box : {static_cast<QWidget*>(first), static_cast<QWidget*>(notes), static_cast<QWidget*>(last)})
            layout->addWidget(box);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        KeystrokeSeam::clear();

        first->setFocus();
        SendTab(first);
        QCOMPARE(window.focusWidget(), notes);
        SendTab(notes);
        QCOMPARE(window.focusWidget(), last);
        QCOMPARE(notes->toPlainText(), QString());
        SendTab(last); // wraps round to the start
        QCOMPARE(window.focusWidget(), first);
        QCOMPARE(KeystrokeSeam::tabsSent(), 3);
    }
};

QTEST_MAIN(TestKeystrokes)
#include "test_keystrokes.moc"
