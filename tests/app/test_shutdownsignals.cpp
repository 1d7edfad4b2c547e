// Ending when asked from outside: the main window closes through its own close path, after any modal
// dialog over it has been closed, and the program's loop ends with it, also when its close asked the user
// something first.
#include "app/RunUntilClosed.h"
#include "app/ShutdownSignals.h"
#include "errortrap/Bulwark.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <csignal>

namespace {
class CountingWindow : public QWidget
{
public:
    int closes = 0;
    bool dialogWasOpenAtClose = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        dialogWasOpenAtClose = QApplication::activeModalWidget() != nullptr;
        event->accept();
    }
};
} // namespace

// A main window whose close asks a question first: a dialog's loop runs inside the close.
class AskingWindow : public QWidget
{
public:
    bool closedForGood = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QEventLoop question;
        QTimer::singleShot(100, &question, &QEventLoop::quit);
        question.exec();
        closedForGood = true;
        event->accept();
    }
};

class TestShutdownSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { bwReset(); }

    void theProgramEndsWithItsWindowEvenWhenTheCloseAskedFirst()
    {
        AskingWindow window;
        window.show();
        QTimer::singleShot(0, &window, &QWidget::close);
        QTimer watchdog;
        watchdog.callOnTimeout([] { QCoreApplication::exit(1); });
        watchdog.start(5000);
        QCOMPARE(runUntilClosed(window, [&] { return window.closedForGood; }), 0);
    }

    void theMainWindowClosesOnceItsDialogsAreGone()
    {
        CountingWindow window;
        window.show();
        QDialog dialog(&window);
        QTimer::singleShot(0, &window, [&] { ShutdownSignals::closeGracefully(&window); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected)); // ended by the request, as by Cancel
        QTRY_COMPARE(window.closes, 1);
        QVERIFY(!window.dialogWasOpenAtClose);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestShutdownSignals)
#include "test_shutdownsignals.moc"
