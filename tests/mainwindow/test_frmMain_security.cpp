// The security time-out of the records window: the count, the lock and what it hides, the unlock, the
// password question, and the options dialog's effect on the window. The one-minute timer is driven by
// calling Timer2_Timer().
#include "MainWindowFixture.h"
#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "desktop/MessageBox.h"
#include "login/CapsLockSeam.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/SecurityLock.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

using mwtest::child;

namespace {
const char* const kSecrets[] = {"txtPW", "txtKey1", "txtKey2", "txtKey3", "txtKey4"};
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

// Runs `act` on the options dialog once it is up, then closes it with `button` ("cmdUse", "cmdSave",
// "cmdCancel"; empty: the close box).
void answerOptions(std::function<void(QWidget*)> act, const char* button)
{
    const QString name = QString::fromLatin1(button);
    mwtest::whenModalShows([act, name](QWidget* dialog) {
        act(dialog);
        if (name.isEmpty())
            dialog->close();
        else
            child<QPushButton>(dialog, name.toLatin1().constData())->click();
    });
}

void writeUserSetting(const QString& key, const QString& value)
{
    SettingsStore::write(ProgramSettings::userSettingsSection(LoginValues::userName()), key, value);
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
        QCOMPARE(m_window->securityLock().Timer2().interval(), 60000);
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
        QCOMPARE(m_window->securityLock().Timer2().interval(), 0);
        // While locked, record changes do not restart the count.
        m_window->recordset()->movePrevious();
        verifyLocked(true);
    }

    void theStoredTimeoutIsTheCountAndTheOptionDecidesAtTheEnd()
    {
        writeUserSetting(QStringLiteral("TimeoutTime"), QStringLiteral("1"));
        writeUserSetting(QStringLiteral("TimeoutOn"), QStringLiteral("False"));
        loadWithRecords();
        const QString panel = m_window->statusPanel(1);
        m_window->Timer2_Timer();
        // Time-out off: the timer stops when the count runs out, and nothing locks.
        QVERIFY(!m_window->securityLock().Timer2().isActive());
        verifyLocked(false);
        QCOMPARE(m_window->statusPanel(1), panel);
        // A change starts the count again; with the option on by then, the first minute locks.
        Options.TimeoutOn = true;
        m_window->recordset()->moveNext();
        QVERIFY(m_window->securityLock().Timer2().isActive());
        m_window->Timer2_Timer();
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
        QCOMPARE(boxes[0].buttons, int(vb::vbOKOnly));
        QCOMPARE(boxes[0].icon, int(vb::vbCritical));
        QCOMPARE(boxes[0].title, QCoreApplication::applicationName());
        QCOMPARE(boxes[1].prompt, QStringLiteral("Invalid Password, try again!\r\n\r\nBEWARE your CAPS key is ON!"));
        QCOMPARE(boxes[1].buttons, int(vb::vbOKOnly));
        QCOMPARE(boxes[1].icon, int(vb::vbExclamation));
        QCOMPARE(boxes[1].title, QStringLiteral("Login Failed"));
        verifyLocked(true);

        // Cancelled or empty: no "did not match", only the unlock button's own box, without the Caps
        // Lock line when Caps Lock is off.
        CapsLockSeam::pin(false);
        for (const std::optional<QString>& answer : {std::optional<QString>(), std::optional<QString>(QString())}) {
            MessageBoxSeam::clear();
            MessageBoxSeam::setNextAnswer(vb::vbOK);
            frmMain::queueConfirmation(answer);
            m_window->cmdPassword_Click();
            QCOMPARE(MessageBoxSeam::shown().size(), 1);
            QCOMPARE(MessageBoxSeam::shown().at(0).prompt, QStringLiteral("Invalid Password, try again!"));
            verifyLocked(true);
        }

        // The right one unlocks and starts the count again.
        MessageBoxSeam::clear();
        frmMain::queueConfirmation(QStringLiteral("secret1"));
        m_window->cmdPassword_Click();
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        verifyLocked(false);
        QCOMPARE(m_window->statusPanel(1), QString());
        QVERIFY(!child<QPushButton>(m_window.get(), "cmdPassword")->isEnabled());
        QVERIFY(m_window->securityLock().Timer2().isActive());
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(5));
        QVERIFY(!m_window->SuspendOnTop());
    }

    void theQuestionIsAModalDialogOfTheWindowOutOfTheTopLayer()
    {
        m_window = mwtest::loadedWindow();
        m_window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        bool suspendedMeanwhile = false;
        bool ownedByWindow = false;
        QString boxAtStart = QStringLiteral("unset");
        // Two questions in a row: the second starts with an empty box too.
        for (const QString& typed : {QStringLiteral("wrong"), QStringLiteral("secret1")}) {
            mwtest::whenModalShows([&, typed](QWidget* dialog) {
                suspendedMeanwhile = m_window->SuspendOnTop();
                ownedByWindow = dialog->parentWidget() == m_window.get();
                auto* box = child<QLineEdit>(dialog, "txtPW");
                boxAtStart = box->text();
                box->setText(typed);
                child<QPushButton>(dialog, "OKButton")->click();
            });
            MessageBoxSeam::setNextAnswer(vb::vbOK);
            const bool confirmed = m_window->ConfirmPassword();
            QCOMPARE(confirmed, typed == QStringLiteral("secret1"));
            QVERIFY(suspendedMeanwhile);
            QVERIFY(ownedByWindow);
            QCOMPARE(boxAtStart, QString());
            QVERIFY(!m_window->SuspendOnTop());
        }
        QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
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

    void theNewMasterPasswordConfirmsWithoutLoggingInAgain()
    {
        m_window = mwtest::loadedWindow(); // no data file open: the Master page lets the user in
        QString inform;
        answerOptions(
            [&inform](QWidget* dialog) {
                child<QTabBar>(dialog, "tbsOptions")->setCurrentIndex(1);
                child<QLineEdit>(dialog, "txtMaster")->setText(QStringLiteral("secret1"));
                child<QLineEdit>(dialog, "txtChange")->setText(QStringLiteral("Fresh#42"));
                child<QLineEdit>(dialog, "txtConfirm")->setText(QStringLiteral("Fresh#42"));
                child<QPushButton>(dialog, "cmdPW")->click();
                inform = child<QLabel>(dialog, "lblInform")->text();
            },
            "");
        m_window->mnuViewOptions_Click();
        QCOMPARE(inform, QStringLiteral("Master Password successfully changed!"));

        MessageBoxSeam::setNextAnswer(vb::vbOK);
        frmMain::queueConfirmation(QStringLiteral("secret1"));
        QVERIFY(!m_window->ConfirmPassword());
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown().at(0).prompt, QStringLiteral("Password did not match!"));
        frmMain::queueConfirmation(QStringLiteral("Fresh#42"));
        QVERIFY(m_window->ConfirmPassword());
    }

    void closingTheOptionsReappliesThemToTheWindow()
    {
        loadWithRecords();
        m_window->cmdSP_Click(); // a revealed secret, its timer running

        // Use: peek and time-out off for this run.
        answerOptions(
            [](QWidget* dialog) {
                child<QCheckBox>(dialog, "chkPasstime")->setChecked(false);
                child<QCheckBox>(dialog, "chkTimeout")->setChecked(false);
            },
            "cmdUse");
        m_window->mnuViewOptions_Click();
        QVERIFY(!Options.PeekOn);
        QVERIFY(!Options.TimeoutOn);
        QVERIFY(!m_window->secretReveal().Timer1().isActive());
        for (const char* box : kSecrets)
            QVERIFY2(!masked(*m_window, box), box);
        QVERIFY(!m_window->securityLock().Timer2().isActive());
        QVERIFY(!m_window->SuspendOnTop());

        // Save: both back on, a three-minute time-out, and the count restarted from it.
        answerOptions(
            [](QWidget* dialog) {
                child<QCheckBox>(dialog, "chkPasstime")->setChecked(true);
                child<QCheckBox>(dialog, "chkTimeout")->setChecked(true);
                child<QScrollBar>(dialog, "fsbTimeout")->setValue(3);
            },
            "cmdSave");
        m_window->mnuViewOptions_Click();
        for (const char* box : kSecrets)
            QVERIFY2(masked(*m_window, box), box);
        QVERIFY(m_window->securityLock().Timer2().isActive());
        QCOMPARE(m_window->securityLock().countdownStart(), qint16(3));
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(3));
        QCOMPARE(SettingsStore::read(ProgramSettings::userSettingsSection(QStringLiteral("BOB")),
                                     QStringLiteral("TimeoutTime")),
                 QStringLiteral("3"));

        // Cancel changes no option, but the window is re-applied all the same: masks back, count afresh.
        m_window->cmdKey2_Click();
        tick(*m_window, 2);
        answerOptions([](QWidget*) {}, "cmdCancel");
        m_window->mnuViewOptions_Click();
        QVERIFY(masked(*m_window, "txtKey2"));
        QVERIFY(!m_window->secretReveal().Timer1().isActive());
        QCOMPARE(m_window->securityLock().countdownLeft(), qint16(3));
        verifyLocked(false);
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
