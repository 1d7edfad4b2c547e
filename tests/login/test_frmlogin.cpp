// The login dialog as the user meets it: refusals that leave the password selected, and registration
// through the real confirmation dialog.
#include "TestSupport.h"
#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "desktop/CapsLockFromTyping.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/PasswordVerifier.h"
#include "login/frmFirstUse.h"
#include "login/frmLogin.h"
#include "login/frmPWconfirm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
using support::child;

void answerConfirmation(const QString& typed, bool ok)
{
    support::whenModal<frmPWconfirm>([typed, ok](frmPWconfirm* dialog) {
        QVERIFY(child<QLineEdit>(dialog, "txtPW")->text().isEmpty()); // cleared before each showing
        child<QLineEdit>(dialog, "txtPW")->setText(typed);
        QTest::mouseClick(child<QPushButton>(dialog, ok ? "OKButton" : "CancelButton"), Qt::LeftButton);
    });
}
} // namespace

class TestFrmLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;

    // A shown login dialog of a run where BOB has logged in before.
    void showForReturningUser(frmLogin& login)
    {
        SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("BOB1"));
        login.Form_Load();
        login.show();
        QVERIFY(QTest::qWaitForWindowActive(&login));
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        CapsLockSeam::pin(false);
    }

    // Where the keyboard cannot be asked (Wayland), the letters typed into the password box tell Caps Lock.
    void typedLettersTellCapsLock()
    {
        CapsLockFromTyping::forget();
        struct Press
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* text;
            std::optional<bool> on;
        };
        for (const Press& press :
             {Press{Qt::Key_1, Qt::NoModifier, "1", std::nullopt}, Press{Qt::Key_A, Qt::NoModifier, "A", true},
              Press{Qt::Key_B, Qt::ShiftModifier, "b", true}, Press{Qt::Key_C, Qt::NoModifier, "c", false},
              Press{Qt::Key_D, Qt::ShiftModifier, "D", false}, Press{Qt::Key_2, Qt::NoModifier, "2", false},
              Press{Qt::Key_CapsLock, Qt::NoModifier, "", true}}) {
            CapsLockFromTyping::observe(
                QKeyEvent(QEvent::KeyPress, press.key, press.modifiers, QString::fromLatin1(press.text)));
            QCOMPARE(CapsLockFromTyping::state(), press.on);
        }
        CapsLockFromTyping::forget();
        QCOMPARE(CapsLockFromTyping::state(), std::nullopt);
    }

    void aRefusalLeavesThePasswordSelectedAndEscapeEnds()
    {
        frmLogin login;
        showForReturningUser(login);
        child<QLineEdit>(&login, "txtUserName")->setText(QStringLiteral("bob"));
        auto* password = child<QLineEdit>(&login, "txtPassword");
        password->setText(QStringLiteral("secret"));
        child<QPushButton>(&login, "cmdCancel")->setFocus();
        QTest::mouseClick(child<QPushButton>(&login, "cmdOK"), Qt::LeftButton);
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown()[0].prompt,
                 QStringLiteral("User Name length must be between\r\n4 - 16 characters, try again!"));
        QVERIFY(login.isVisible());
        QVERIFY(!login.LoginSucceeded);
        QCOMPARE(QApplication::focusWidget(), password);
        QCOMPARE(password->selectedText(), QStringLiteral("secret"));

        login.LoginSucceeded = true; // whatever it held before, Escape ends the login unsuccessfully
        QTest::keyClick(password, Qt::Key_Escape);
        QVERIFY(!login.LoginSucceeded);
        QVERIFY(!login.isVisible());
    }

    void registrationGoesThroughTheConfirmationDialog()
    {
        frmLogin login;
        showForReturningUser(login);
        child<QLineEdit>(&login, "txtUserName")->setText(QStringLiteral("newbie"));
        child<QLineEdit>(&login, "txtPassword")->setText(QStringLiteral("Abc123"));

        answerConfirmation(QStringLiteral("Abc123"), false); // cancelled: nothing said, nothing written
        QTest::mouseClick(child<QPushButton>(&login, "cmdOK"), Qt::LeftButton);
        frmPWconfirm* first = login.confirmationDialog();
        QVERIFY(first && !first->ConfirmOK && !first->isVisible());
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(SettingsStore::read(QStringLiteral("Accounts\\NEWBIE"), QStringLiteral("PW")).isEmpty());
        QCOMPARE(login.focusWidget(), child<QLineEdit>(&login, "txtPassword")); // once it is active again

        answerConfirmation(QStringLiteral("Abc123"), true); // the same dialog again, its box cleared
        QTest::mouseClick(child<QPushButton>(&login, "cmdOK"), Qt::LeftButton);
        QCOMPARE(login.confirmationDialog(), first);
        QVERIFY(first->ConfirmOK);
        QVERIFY(login.LoginSucceeded);
        QVERIFY(!login.isVisible());
        QVERIFY(!SettingsStore::read(QStringLiteral("Accounts\\NEWBIE"), QStringLiteral("PW")).isEmpty());
        QCOMPARE(SettingsStore::read(QStringLiteral("LastLogin"), QStringLiteral("Name")), QStringLiteral("NEWBIE"));
        QCOMPARE(LoginValues::userName(), QStringLiteral("NEWBIE"));
    }
};

QTEST_MAIN(TestFrmLogin)
#include "test_frmlogin.moc"
