// The security time-out of the records window: the count, the lock and what it hides, and the unlock. The
// one-minute timer is driven by calling Timer2_Timer().
#include "MainWindowFixture.h"
#include "app/LoginValues.h"
#include "desktop/MessageBox.h"
#include "login/CapsLockSeam.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using mwtest::child;

namespace {
const char* const kRecordViews[] = {"Frame2", "Frame3", "DataGrid1", "Adodc1", "imgAddNew", "imgDelete"};
const char* const kLockedMenus[] = {"mnuFile", "mnuEdit", "mnuView"};
const QString kLockedText = QStringLiteral("SECURITY TIME OUT! ...REFRESH PASSWORD!");

QList<fixtures::Record> secretRecords()
{
    return {{"Alpha", "https://alpha.example", "al", "pw-alpha", "hint", "PIN", "1111", "Word", "2222", "", "3333", "",
             "4444", "notes"},
            {"Beta", "https://beta.example", "bert", "pw-beta", "", "PIN", "9999"}};
}

bool masked(const frmMain& window, const char* box)
{
    return child<QLineEdit>(&window, box)->echoMode() == QLineEdit::Password;
}

bool shown(const frmMain& window, const char* name)
{
    return child<QWidget>(&window, name)->isVisibleTo(&window);
}

void tick(frmMain& window, int minutes)
{
    for (int i = 0; i < minutes; ++i)
        window.Timer2_Timer();
}

} // namespace

class TestFrmMainSecurity : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

    void loadWithRecords()
    {
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("vault.lwd"), secretRecords());
        m_window = mwtest::loadedWindow(file);
        QVERIFY(m_window->isDataFileOpen());
    }

    void verifyLocked(bool locked)
    {
        QCOMPARE(m_window->Locked(), locked);
        for (const char* view : kRecordViews)
            QVERIFY2(shown(*m_window, view) != locked, view);
        for (const char* menu : kLockedMenus)
            QVERIFY2(child<QMenu>(m_window.get(), menu)->isEnabled() != locked, menu);
        QVERIFY(child<QToolBar>(m_window.get(), "tbToolBar")->isEnabled() != locked);
        auto* unlock = child<QPushButton>(m_window.get(), "cmdPassword");
        QCOMPARE(unlock->isVisibleTo(m_window.get()), locked);
        if (locked) {
            QVERIFY(unlock->isEnabled());
            QCOMPARE(m_window->statusPanel(1), kLockedText);
            QVERIFY(!m_window->securityLock().Timer2().isActive());
        }
    }

    void lockNow()
    {
        tick(*m_window, m_window->securityLock().countdownStart());
        verifyLocked(true);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        frmMain::clearConfirmations();
        CapsLockSeam::pin(false);
    }

    void cleanup()
    {
        m_window.reset();
        frmMain::clearConfirmations();
        CapsLockSeam::pin(std::nullopt);
        m_env.reset();
    }

    void locksOnTheFifthTickAfterTheLastRecordChange()
    {
        loadWithRecords();
        QVERIFY(m_window->securityLock().Timer2().isActive());
        QCOMPARE(m_window->securityLock().countdownStart(), qint16(5));
        verifyLocked(false);
        tick(*m_window, 4);
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(1));
        // Showing another record changes the boxes' texts: the count starts again from 5.
        m_window->recordset()->moveNext();
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(5));
        tick(*m_window, 4);
        verifyLocked(false);
        m_window->Timer2_Timer();
        verifyLocked(true);
        // While locked, record changes do not restart the count.
        m_window->recordset()->movePrevious();
        verifyLocked(true);
    }

    void aWrongPasswordShowsTwoBoxesInTurnTheRightOneUnlocks()
    {
        loadWithRecords();
        lockNow();
        CapsLockSeam::pin(true);
        frmMain::queueConfirmation(QStringLiteral("SECRET1")); // letter case counts
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        m_window->cmdPassword_Click();
        const QList<MessageBoxRequest> boxes = MessageBoxSeam::shown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].prompt, QStringLiteral("Password did not match!"));
        QCOMPARE(boxes[0].icon, int(vb::vbCritical));
        QCOMPARE(boxes[1].prompt, QStringLiteral("Invalid Password, try again!\r\n\r\nBEWARE your CAPS key is ON!"));
        QCOMPARE(boxes[1].title, QStringLiteral("Login Failed"));
        verifyLocked(true);

        // The right one unlocks and starts the count again.
        MessageBoxSeam::clear();
        frmMain::queueConfirmation(QStringLiteral("secret1"));
        m_window->cmdPassword_Click();
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        verifyLocked(false);
        QCOMPARE(m_window->statusPanel(1), QString());
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(5));
    }

    void aRevealWhileLockedAsksForThePassword()
    {
        loadWithRecords();
        lockNow();
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        frmMain::queueConfirmation(std::nullopt);
        m_window->cmdSP_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QVERIFY(masked(*m_window, "txtPW"));
        verifyLocked(true);

        frmMain::queueConfirmation(QStringLiteral("secret1"));
        m_window->cmdKey1_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1111"));
        QVERIFY(!masked(*m_window, "txtKey1"));
        verifyLocked(false);
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(5));
    }

    void nothingSecretIsVisibleOrReachableWhileLocked()
    {
        loadWithRecords();
        m_window->cmdSP_Click(); // even a secret revealed just before the lock
        lockNow();

        // No widget the window shows holds a field of the record.
        const QStringList fields = secretRecords().at(0);
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(m_window.get()))
                continue;
            QString text;
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                text = line->text();
            else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
                text = plain->toPlainText();
            else if (auto* label = qobject_cast<QLabel*>(widget))
                text = label->text();
            for (const QString& field : fields)
                QVERIFY2(field.size() < 4 || !text.contains(field), qPrintable(widget->objectName()));
        }

        // No action with a shortcut can run: each is disabled or has no widget that shows it.
        for (QAction* action : m_window->findChildren<QAction*>()) {
            if (action->shortcut().isEmpty() || !action->isEnabled())
                continue;
            for (QObject* owner : action->associatedObjects()) {
                auto* widget = qobject_cast<QWidget*>(owner);
                QVERIFY2(!widget || !widget->isVisibleTo(m_window.get()), qPrintable(action->objectName()));
            }
        }

        // The cool bar's file buttons and the options wait for the password; the rest stays usable.
        for (const char* name :
             {"imgTBnew", "imgTBopen", "imgTBunlock", "imgTBsave", "imgTBclose", "imgTBprint", "imgTBoptions"})
            QVERIFY2(!child(m_window.get(), name)->isEnabled(), name);
        for (const char* name : {"imgTBhelp", "imgTBinfo", "imgTBontop", "imgTBmin", "imgTBexit"})
            QVERIFY2(child(m_window.get(), name)->isEnabled(), name);

        // The options command itself refuses: closing the dialog would lift the lock.
        bool optionsShown = false;
        mwtest::whenModalShows([&optionsShown](QWidget* dialog) {
            optionsShown = true;
            dialog->close();
        });
        m_window->mnuViewOptions_Click();
        QTest::qWait(50);
        QVERIFY(!optionsShown);
        verifyLocked(true);

        // Unlocked, the file buttons are back as the open file has them.
        frmMain::queueConfirmation(QStringLiteral("secret1"));
        m_window->cmdPassword_Click();
        QVERIFY(child(m_window.get(), "imgTBsave")->isEnabled());
        QVERIFY(!child(m_window.get(), "imgTBopen")->isEnabled());
        QVERIFY(child(m_window.get(), "imgTBoptions")->isEnabled());
    }
};

QTEST_MAIN(TestFrmMainSecurity)
#include "test_frmMain_security.moc"
