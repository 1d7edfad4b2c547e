// The records window's print command: the password first, then what the grid lists.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "app/RunUntilClosed.h"
#include "app/SettingsStore.h"
#include "desktop/MessageBox.h"
#include "desktop/frmSysTray.h"
#include "mainwindow/frmMain.h"
#include "tools/PrintPreview.h"
#include "tools/RecordReport.h"

#include <QLineEdit>
#include <QTest>

using mwtest::child;

class TestFrmMainChrome : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<mwtest::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

    frmMain& loaded(const QString& commandText = QString())
    {
        m_window = mwtest::loadedWindow(commandText);
        return *m_window;
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        SysTraySeam::setAvailable(true);
    }

    void cleanup()
    {
        m_window.reset();
        frmMain::clearConfirmations();
        PrintPreviewSeam::clear();
        SysTraySeam::clear();
        m_env.reset();
    }

    void printAsksForThePasswordAndPrintsWhatTheGridLists()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("print.lwd"), mwtest::realisticRecords());
        frmMain& window = loaded(file);
        int reports = 0;
        int printedCount = -1;
        PrintPreviewSeam::setShow([&](QWidget*, const RecordReport& report, int) {
            ++reports;
            printedCount = report.recordCount();
        });

        // Cancelled: no report and no message.
        frmMain::queueConfirmation(std::nullopt);
        window.mnuFilePrint_Click();
        QCOMPARE(reports, 0);
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        // A wrong password: only the confirmation's own message, no report.
        frmMain::queueConfirmation(QStringLiteral("wrong1"));
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        window.mnuFilePrint_Click();
        QCOMPARE(reports, 0);
        QCOMPARE(MessageBoxSeam::shown().size(), 1);

        child<QLineEdit>(&window, "txtFilter")->setText(QStringLiteral("B"));
        window.cmdFilter_Click();
        frmMain::queueConfirmation(QStringLiteral("secret1"));
        window.mnuFilePrint_Click();
        QCOMPARE(reports, 1);
        QCOMPARE(printedCount, 3); // Bank of Springfield, BBC, British Gas
        QVERIFY(!window.SuspendOnTop());
    }
};

QTEST_MAIN(TestFrmMainChrome)
#include "test_frmMain_chrome.moc"
