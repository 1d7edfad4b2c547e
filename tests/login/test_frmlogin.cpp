// The login dialog as the user meets it: focus, the welcome on the very first login, Enter in the name
// box, refusals that leave the password selected, and registration through the real confirmation dialog.
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
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {
template <class T> T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Acts on the next modal dialog of type Dialog once it is up (polling, so it works inside exec()). The
// returned watch ends by itself after acting; delete it to give up waiting.
template <class Dialog> QTimer* whenModal(std::function<void(Dialog*)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start(10);
    return poll;
}

void answerConfirmation(const QString& typed, bool ok)
{
    whenModal<frmPWconfirm>([typed, ok](frmPWconfirm* dialog) {
        QVERIFY(child<QLineEdit>(dialog, "txtPW")->text().isEmpty()); // cleared before each showing
        child<QLineEdit>(dialog, "txtPW")->setText(typed);
        QTest::mouseClick(child<QPushButton>(dialog, ok ? "OKButton" : "CancelButton"), Qt::LeftButton);
    });
}
} // namespace

class TestFrmLogin : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_home;

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
        m_home.reset(new QTemporaryDir);
        qputenv("XDG_CONFIG_HOME", m_home->path().toLocal8Bit());
        bwReset();
        bwSetProgramFolder(m_home->path());
        MessageBoxSeam::clear();
        CapsLockSeam::pin(false);
        LoginValues::wipe();
    }

    void opensInThePasswordBoxAndEnterInTheNameMovesOn()
    {
        frmLogin login;
        showForReturningUser(login);
        auto* name = child<QLineEdit>(&login, "txtUserName");
        auto* password = child<QLineEdit>(&login, "txtPassword");
        QCOMPARE(name->text(), QStringLiteral("BOB1"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), password);

        // Enter in the name box moves on to the password; it is not an attempt.
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), password);
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(login.isVisible());
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

    // Offscreen, like Wayland, has no keyboard state to ask: the letters typed into the password tell.
    void whereCapsLockCannotBeAskedTheTypedLettersTell()
    {
        CapsLockSeam::pin(std::nullopt);
        CapsLockFromTyping::forget();
        SettingsStore::write(QStringLiteral("Accounts\\BOB1"), QStringLiteral("PW"),
                             keyAndVerifierOf(SecretText(u"secret")).exposed().text());
        frmLogin login;
        showForReturningUser(login);
        auto* password = child<QLineEdit>(&login, "txtPassword");
        const auto attempt = [&](const QString& typed, const QString& shifted) {
            password->clear();
            for (int i = 0; i < typed.size(); ++i) {
                const Qt::KeyboardModifiers shift =
                    shifted.at(i) == QLatin1Char('^') ? Qt::ShiftModifier : Qt::NoModifier;
                QKeyEvent press(QEvent::KeyPress, typed.at(i).toUpper().unicode(), shift, typed.mid(i, 1));
                QApplication::sendEvent(password, &press);
            }
            QTest::mouseClick(child<QPushButton>(&login, "cmdOK"), Qt::LeftButton);
            return MessageBoxSeam::shown().constLast().prompt;
        };
        // Upper case without Shift, lower case with it: on. The case Shift asks for: off.
        const QString invalid = QStringLiteral("Invalid Password, try again!");
        const QString beware = invalid + QStringLiteral("\r\n\r\nBEWARE your CAPS key is ON!");
        QCOMPARE(attempt(QStringLiteral("SECRET"), QStringLiteral("      ")), beware);
        QCOMPARE(attempt(QStringLiteral("secrex"), QStringLiteral("^^^^^^")), beware);
        QCOMPARE(attempt(QStringLiteral("Secre1"), QStringLiteral("^     ")), invalid);
        QVERIFY(login.isVisible());
    }

    void theFirstLoginWelcomesAndOffersTheSystemUserName()
    {
        qputenv("USER", "sysuser");
        bool welcomed = false;
        whenModal<frmFirstUse>([&welcomed](frmFirstUse* welcome) {
            welcomed = true;
            QTest::mouseClick(child<QPushButton>(welcome, "cmdContinue"), Qt::LeftButton);
        });
        frmLogin login;
        login.Form_Load();
        QVERIFY(welcomed);
        QCOMPARE(child<QLineEdit>(&login, "txtUserName")->text(), QStringLiteral("sysuser"));
    }
};

QTEST_MAIN(TestFrmLogin)
#include "test_frmlogin.moc"
