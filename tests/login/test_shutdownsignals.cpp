// Ending when asked from outside: each of the three signals arrives once on the event loop, and the
// main window then closes through its own close path, after any modal dialog over it has been closed.
#include "app/ShutdownSignals.h"
#include "errortrap/Bulwark.h"

#include <QCloseEvent>
#include <QDialog>
#include <QSignalSpy>
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

class TestShutdownSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { bwReset(); }

    void eachSignalBecomesOneRequest()
    {
        ShutdownSignals signals;
        QVERIFY(signals.install());
        QVERIFY(!ShutdownSignals().install()); // one at a time
        QSignalSpy requested(&signals, &ShutdownSignals::shutdownRequested);
        for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
            std::raise(signalNumber);
            QVERIFY(requested.wait(5000));
        }
        QTest::qWait(50);
        QCOMPARE(requested.count(), 3);
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
