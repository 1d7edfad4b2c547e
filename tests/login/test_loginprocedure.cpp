// The login's OK button: registration, the password check, every refusal with its exact message, and
// what is (and is not) written to the settings and the login values.
#include "TestSupport.h"
#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/LoginProcedure.h"

#include <QFile>
#include <QtTest>

namespace {
const QString kShortName = QStringLiteral("User Name length must be between\r\n4 - 16 characters, try again!");
const QString kShortPassword = QStringLiteral("Password length must be between\r\n4 - 16 characters, try again!");
const QString kMismatch = QStringLiteral("Passwords do not match, try again!");
const QString kInvalid = QStringLiteral("Invalid Password, try again!");
const QString kCaps = QStringLiteral("\r\n\r\nBEWARE your CAPS key is ON!");

QString storedVerifier(const QString& user)
{
    return SettingsStore::read(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"));
}

QString lastLogin()
{
    return SettingsStore::read(QStringLiteral("LastLogin"), QStringLiteral("Name"));
}
} // namespace

class TestLoginProcedure : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;
    QStringList m_confirmations; // answers of the confirmation dialog; a null entry cancels it
    int m_asked = 0;

    LoginProcedure procedure()
    {
        return LoginProcedure([this](QString& confirmation) {
            ++m_asked;
            const QString answer = m_confirmations.isEmpty() ? QString() : m_confirmations.takeFirst();
            confirmation = answer;
            return !answer.isNull();
        });
    }

    // Registers a user through the confirmation and forgets the boxes shown on the way.
    void registerUser(const QString& user, const QString& password)
    {
        m_confirmations = {password};
        QVERIFY(procedure().attempt(user, SecretText(password)));
        MessageBoxSeam::clear();
    }

    // The last box shown, and (unless told otherwise) the only one.
    void expectOneBox(const QString& text, int icon, int alsoShown = 0)
    {
        const QList<MessageBoxRequest> shown = MessageBoxSeam::shown();
        QCOMPARE(shown.size(), alsoShown + 1);
        QCOMPARE(shown.last().prompt, text);
        QCOMPARE(shown.last().title, QStringLiteral("Login"));
        QCOMPARE(shown.last().buttons, int(vb::vbOKOnly));
        QCOMPARE(shown.last().icon, icon);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        CapsLockSeam::pin(false);
        m_confirmations.clear();
        m_asked = 0;
    }

    void newUserIsRegisteredAndLoggedIn()
    {
        m_confirmations = {QStringLiteral("Secret")};
        QVERIFY(procedure().attempt(QStringLiteral("alice"), SecretText(QStringLiteral("Secret"))));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        const QString verifier = storedVerifier(QStringLiteral("ALICE"));
        QCOMPARE(lastLogin(), QStringLiteral("ALICE"));
        QCOMPARE(LoginValues::userName(), QStringLiteral("ALICE"));
        QCOMPARE(LoginValues::masterPassword().exposed().text(), QStringLiteral("Secret"));
        QCOMPARE(LoginValues::heldVerifier().exposed().text(), verifier);

        // The password as typed is nowhere in the settings file.
        QFile file(SettingsStore::filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("Secret"));
    }

    // A returning user: the name in any letter case, the password exactly; wrong passwords are refused
    // without limit, named with Caps Lock when it is on, and change nothing.
    void returningUserNameCaseWrongPasswordsAndCapsLock()
    {
        registerUser(QStringLiteral("Bob1"), QStringLiteral("pass"));
        registerUser(QStringLiteral("dave"), QStringLiteral("daves"));
        const QString verifier = storedVerifier(QStringLiteral("BOB1"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(!procedure().attempt(QStringLiteral("bob1"), SecretText(QStringLiteral("PASS"))));
        expectOneBox(kInvalid, vb::vbExclamation, 4);
        QCOMPARE(storedVerifier(QStringLiteral("BOB1")), verifier);
        QCOMPARE(lastLogin(), QStringLiteral("DAVE")); // written only on success
        QCOMPARE(LoginValues::userName(), QStringLiteral("DAVE"));

        MessageBoxSeam::clear();
        CapsLockSeam::pin(true);
        QVERIFY(!procedure().attempt(QStringLiteral("bob1"), SecretText(QStringLiteral("PASS"))));
        expectOneBox(kInvalid + kCaps, vb::vbExclamation);
        MessageBoxSeam::clear();
        m_confirmations = {QStringLiteral("other")};
        QVERIFY(!procedure().attempt(QStringLiteral("frank"), SecretText(QStringLiteral("mine"))));
        expectOneBox(kMismatch + kCaps, vb::vbExclamation);

        QVERIFY(procedure().attempt(QStringLiteral("bOb1"), SecretText(QStringLiteral("pass"))));
        QCOMPARE(m_asked, 3); // recognised, not registered again
        QCOMPARE(lastLogin(), QStringLiteral("BOB1"));
    }

    // Lengths are checked name first, nothing is trimmed; names and passwords that cannot be stored are
    // refused. A refusal asks nothing and writes nothing.
    void refusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString separator = QStringLiteral("User Name must not contain \"\\\" or \"/\", try again!");
        const QString name =
            QStringLiteral("User Name may only contain Western European letters,\r\ndigits and signs, try again!");
        const QString password =
            QStringLiteral("Password may only contain Western European letters,\r\ndigits and signs, try again!");
        QTest::newRow("3-character name, 3-character password") << "abc"
                                                                << "xyz" << kShortName;
        QTest::newRow("3-character password") << "abcd"
                                              << "xyz" << kShortPassword;
        QTest::newRow("blanks count, nothing is trimmed") << " ab "
                                                          << "    " << QString();
        QTest::newRow("backslash reaching into another section") << "BOB\\SETTINGS"
                                                                 << "secret" << separator;
        QTest::newRow("Greek name") << QStringLiteral("\u03b1\u03b2\u03b3\u03b4") << "secret" << name;
        QTest::newRow("emoji in the password") << "kate" << QStringLiteral("pw\U0001F600x") << password;
        QTest::newRow("euro sign and accents are code page")
            << QStringLiteral("Ren\u00e9e") << QStringLiteral("\u20ac100") << QString();
    }

    void refusals()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        registerUser(QStringLiteral("bob1"), QStringLiteral("bobs"));
        const auto settings = [] {
            QFile f(SettingsStore::filePath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = settings();
        m_confirmations = {password};
        QCOMPARE(procedure().attempt(user, SecretText(password)), message.isEmpty());
        if (message.isEmpty())
            return;
        expectOneBox(message, vb::vbInformation);
        QCOMPARE(m_asked, 1); // only the registration of bob1
        QCOMPARE(settings(), before);
    }
};

QTEST_MAIN(TestLoginProcedure)
#include "test_loginprocedure.moc"
