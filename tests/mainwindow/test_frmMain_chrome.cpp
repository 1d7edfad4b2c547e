// The records window's chrome: the toolbar pictures and their tooltips, the keep-on-top lamp and timer,
// dragging by the cool bar, minimising with and without a tray, the tray's restore and close paths,
// help, about and print.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "app/RunUntilClosed.h"
#include "app/SettingsStore.h"
#include "desktop/MessageBox.h"
#include "desktop/TrayMessages.h"
#include "desktop/frmSysTray.h"
#include "mainwindow/OnTopKeeper.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/frmMain.h"
#include "tools/PrintPreview.h"
#include "tools/RecordReport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

using mwtest::child;

namespace {
PictureButton* picture(const frmMain& window, const char* name)
{
    return child<PictureButton>(&window, name);
}

bool onTop(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// Presses and lets go of the left button over a picture button, as a user clicks it; returns the
// picture shown while the button was down.
QString clickPicture(PictureButton* button)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(4, 4));
    const QString pressed = button->pictureName();
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(4, 4));
    return pressed;
}
} // namespace

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

    // Every picture a button shows or swaps to is a resource (the lamp swaps its own pictures).
    void everyPictureOfTheCoolBarIsAResource()
    {
        frmMain& window = loaded();
        PictureButton probe;
        for (const PictureButton* button : window.findChildren<PictureButton*>()) {
            for (const QString& resource : {button->pictureName(), button->upPicture(), button->downPicture()}) {
                if (!resource.isEmpty() || button->objectName() != QLatin1String("imgTBontop"))
                    QVERIFY2(UpdateImage(&probe, resource),
                             qPrintable(button->objectName() + QLatin1Char(' ') + resource));
            }
        }
    }

    void theLampTogglesKeepOnTopAndTwoClicksReturnBoth()
    {
        Options.KeepOnTop = false;
        frmMain& window = loaded();
        PictureButton* lamp = picture(window, "imgTBontop");
        QCOMPARE(lamp->pictureName(), QStringLiteral("LED-RUP"));

        QCOMPARE(clickPicture(lamp), QStringLiteral("LED-RDOWN"));
        QVERIFY(Options.KeepOnTop);
        QCOMPARE(lamp->pictureName(), QStringLiteral("LED-GUP"));

        QCOMPARE(clickPicture(lamp), QStringLiteral("LED-GDOWN"));
        QVERIFY(!Options.KeepOnTop);
        QCOMPARE(lamp->pictureName(), QStringLiteral("LED-RUP"));
        // The click changes the setting in memory only: the window is put on top by the timer.
        QVERIFY(!onTop(window));
    }

    void theTimerPutsTheWindowOnTopUnlessSuspended()
    {
        frmMain& window = loaded();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.onTopKeeper().timOnTop().isActive());
        QCOMPARE(window.onTopKeeper().timOnTop().interval(), 1000);
        const QRect before = window.geometry();

        Options.KeepOnTop = true;
        window.timOnTop_Timer();
        QVERIFY(onTop(window));
        QCOMPARE(window.onTopKeeper().timOnTop().interval(), 2000);
        QVERIFY(window.onTopKeeper().timOnTop().isActive());
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);

        // A modal dialog or the tray holds the window back, whatever KeepOnTop says.
        window.setSuspendOnTop(true);
        window.timOnTop_Timer();
        QVERIFY(!onTop(window));
        window.setSuspendOnTop(false);
        window.timOnTop_Timer();
        QVERIFY(onTop(window));

        // MakeNormal takes it out at once; the next tick puts it back.
        window.MakeNormal();
        QVERIFY(!onTop(window));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);
        window.timOnTop_Timer();
        QVERIFY(onTop(window));

        Options.KeepOnTop = false;
        window.timOnTop_Timer();
        QVERIFY(!onTop(window));

        window.Form_LostFocus();
        QCOMPARE(window.onTopKeeper().timOnTop().interval(), 5000);
        QVERIFY(window.onTopKeeper().timOnTop().isActive());
    }

    void draggingTheBarMovesTheWindowWithTheLeftButtonOnly()
    {
        frmMain& window = loaded();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(200, 150);
        const QPoint start = window.pos();

        window.CoolBar1_MouseDown(2, 0, 40, 10);
        window.CoolBar1_MouseMove(2, 0, 90, 30);
        window.CoolBar1_MouseMove(0, 0, 90, 30);
        QCOMPARE(window.pos(), start);

        window.CoolBar1_MouseDown(1, 0, 40, 10);
        window.CoolBar1_MouseMove(1, 0, 55, 4);
        QCOMPARE(window.pos(), start + QPoint(15, -6));
    }

    void minimisingHidesToTheTrayWhoseClicksRestoreOrMinimisesWithoutOne()
    {
        frmMain& window = loaded();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        frmSysTray* tray = window.sysTray();
        const auto hideToTray = [&] {
            window.imgTBmin_Click();
            QVERIFY(window.SuspendOnTop());
            QVERIFY(!window.isVisible());
        };

        hideToTray();
        // Pressing the left button does nothing; letting it go restores.
        tray->TrayCallback(TrayMessage::LeftButtonDown);
        QVERIFY(!window.isVisible());
        tray->TrayCallback(TrayMessage::LeftButtonUp);
        QVERIFY(window.isVisible());
        QVERIFY(!window.SuspendOnTop());

        hideToTray();
        window.m_frmSysTray_SysTrayDoubleClick(Qt::RightButton);
        QVERIFY(window.isVisible());

        hideToTray();
        // The right button opens the menu and leaves the window where it is.
        window.m_frmSysTray_SysTrayMouseDown(Qt::RightButton);
        QVERIFY(!window.isVisible());
        QVERIFY(window.SuspendOnTop());
        QTRY_VERIFY(tray->mnuPopup()->isVisible());
        tray->mnuPopup()->close();
        window.m_frmSysTray_MenuClick(1, QString());
        QVERIFY(!window.isVisible());
        window.m_frmSysTray_MenuClick(0, QStringLiteral("open"));
        QVERIFY(window.isVisible());
        QVERIFY(!window.SuspendOnTop());

        // Without a tray nothing is hidden away: the window stays in the taskbar.
        SysTraySeam::setAvailable(false);
        window.imgTBmin_Click();
        QVERIFY(window.SuspendOnTop());
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        // Coming back from the taskbar lets the window be kept on top again.
        window.showNormal();
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(!window.SuspendOnTop());
    }

    // While the window is hidden in the tray, another window closing (an ownerless report, the last one
    // shown) must not end the program; only the tray's "&Close" does, through the window's shut-down.
    void theTrayIsSetUpAtLoadAndOnlyItsCloseEndsTheProgram()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("tray.lwd"), mwtest::accounts({"Alpha"}));
        frmMain& window = loaded(file);
        QPointer<frmSysTray> tray = window.sysTray();
        QVERIFY(tray);
        const QSystemTrayIcon* icon = tray->trayIcon();
        QVERIFY(icon->isVisible());
        QCOMPARE(icon->toolTip(), QStringLiteral("Lockwell"));
        QCOMPARE(icon->icon().cacheKey(), window.windowIcon().cacheKey());
        QCOMPARE(icon->contextMenu(), tray->mnuPopup());
        QStringList items;
        for (const QAction* item : tray->mnuPopup()->actions()) {
            if (item->isVisible())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(items, QStringList({"&Open Lockwell", "-", "&Close"}));
        QCOMPARE(tray->mnuPopup()->defaultAction(), tray->mnuSysTray(0));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.imgTBmin_Click();

        bool stillRunning = false;
        QTimer::singleShot(0, [&] {
            auto* report = new QDialog;
            report->setAttribute(Qt::WA_DeleteOnClose);
            report->show();
            report->close();
            QTimer::singleShot(100, [&] {
                stillRunning = true;
                Q_EMIT tray->MenuClick(2, QStringLiteral("close")); // queued, as the menu sends it
            });
        });
        QTimer watchdog;
        watchdog.callOnTimeout([] { QCoreApplication::exit(1); });
        watchdog.start(10000);
        QCOMPARE(runUntilClosed(window, [&] { return window.isFormUnloaded(); }), 0);
        QVERIFY(stillRunning);
        QVERIFY(!window.sysTray());
        // The window went through its unload: the settings of the session were written.
        const QString section = ProgramSettings::userSettingsSection(QStringLiteral("BOB"));
        QVERIFY(!SettingsStore::read(section, QStringLiteral("MainWidth")).isEmpty());
        QCOMPARE(SettingsStore::read(section, QStringLiteral("DBpath")), file);
        QTRY_VERIFY(!tray); // the icon's window is gone with it
    }

    void helpWithoutAFileTurnsKeepOnTopOffAndSaysSo()
    {
        frmMain& window = loaded();
        Options.KeepOnTop = true;
        window.show();
        window.timOnTop_Timer();
        QVERIFY(onTop(window));
        window.setHelpFile(QString());
        MessageBoxSeam::setNextAnswer(vb::vbOK);

        window.mnuHelpContents_Click();
        QVERIFY(!Options.KeepOnTop);
        QCOMPARE(picture(window, "imgTBontop")->pictureName(), QStringLiteral("LED-RUP"));
        QVERIFY(!onTop(window));
        const QList<MessageBoxRequest> shown = MessageBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].prompt,
                 QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."));
        QCOMPARE(shown[0].icon, int(vb::vbInformation));
        QCOMPARE(shown[0].buttons, int(vb::vbOKOnly));
        QCOMPARE(shown[0].title, QGuiApplication::applicationDisplayName());

        // Searching the help leaves keep-on-top alone; a help file that is not there is reported plainly.
        Options.KeepOnTop = true;
        window.setHelpFile(m_env->path(QStringLiteral("missing.html")));
        MessageBoxSeam::clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        window.mnuHelpSearchForHelpOn_Click();
        QVERIFY(Options.KeepOnTop);
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QVERIFY(MessageBoxSeam::shown()[0].prompt.contains(QStringLiteral("missing.html")));
        QCOMPARE(MessageBoxSeam::shown()[0].icon, 0);
        QCOMPARE(MessageBoxSeam::shown()[0].buttons, int(vb::vbOKOnly));
    }

    void aboutSuspendsOnTopAndGivesBackWhatWasThere()
    {
        frmMain& window = loaded();
        for (const bool before : {false, true}) {
            window.setSuspendOnTop(before);
            bool suspendedWhileUp = false;
            mwtest::whenModalShows([&](QWidget* dialog) {
                suspendedWhileUp = window.SuspendOnTop();
                dialog->close();
            });
            window.mnuHelpAbout_Click();
            QVERIFY(suspendedWhileUp);
            QCOMPARE(window.SuspendOnTop(), before);
        }
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
