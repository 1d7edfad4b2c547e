// The login's OK button: registration, the password check, every refusal with its exact message, and
// what is (and is not) written to the settings and the login values.
#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/LoginProcedure.h"

#include <QFile>
#include <QTemporaryDir>
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

    QScopedPointer<QTemporaryDir> m_home;
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
        m_home.reset(new QTemporaryDir);
        qputenv("XDG_CONFIG_HOME", m_home->path().toLocal8Bit());
        bwReset();
        bwSetProgramFolder(m_home->path());
        MessageBoxSeam::clear();
        CapsLockSeam::pin(false);
        LoginValues::wipe();
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

    void lengthsAreCheckedNameFirst_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("3-character name, 3-character password")
            << QStringLiteral("abc") << QStringLiteral("xyz") << kShortName;
        QTest::newRow("3-character password") << QStringLiteral("abcd") << QStringLiteral("xyz") << kShortPassword;
        QTest::newRow("blanks count, nothing is trimmed")
            << QStringLiteral(" ab ") << QStringLiteral("    ") << QString();
        QTest::newRow("exactly 4 and 4") << QStringLiteral("abcd") << QStringLiteral("wxyz") << QString();
    }

    void lengthsAreCheckedNameFirst()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        m_confirmations = {password};
        QCOMPARE(procedure().attempt(user, SecretText(password)), message.isEmpty());
        if (!message.isEmpty()) {
            expectOneBox(message, vb::vbInformation);
            QCOMPARE(m_asked, 0);
            QVERIFY(!QFile::exists(SettingsStore::filePath())); // nothing written
        }
    }

    void abandonedRegistrationLeavesNothingBehind()
    {
        // Cancelled (not a mistake to report), confirmed empty, confirmed in another letter case.
        m_confirmations = {QString(), QStringLiteral(""), QStringLiteral("PW-ONE")};
        for (int i = 0; i < 3; ++i)
            QVERIFY(!procedure().attempt(QStringLiteral("grace"), SecretText(QStringLiteral("pw-one"))));
        QCOMPARE(MessageBoxSeam::shown().size(), 2);
        expectOneBox(kMismatch, vb::vbExclamation, 1);
        QVERIFY(storedVerifier(QStringLiteral("GRACE")).isEmpty());
        QVERIFY(lastLogin().isEmpty());
        QVERIFY(LoginValues::userName().isEmpty());
    }

    void namesAndPasswordsThatCannotBeStoredAreRefused_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        const QString separator = QStringLiteral("User Name must not contain \"\\\" or \"/\", try again!");
        const QString name =
            QStringLiteral("User Name may only contain Western European letters,\r\ndigits and signs, try again!");
        const QString password =
            QStringLiteral("Password may only contain Western European letters,\r\ndigits and signs, try again!");
        QTest::newRow("backslash reaching into another section")
            << QStringLiteral("BOB\\SETTINGS") << QStringLiteral("secret") << separator;
        QTest::newRow("Greek name") << QStringLiteral("\u03b1\u03b2\u03b3\u03b4") << QStringLiteral("secret") << name;
        QTest::newRow("emoji in the password") << QStringLiteral("kate") << QStringLiteral("pw\U0001F600x") << password;
        QTest::newRow("euro sign and accents are code page")
            << QStringLiteral("Ren\u00e9e") << QStringLiteral("\u20ac100") << QString();
    }

    void namesAndPasswordsThatCannotBeStoredAreRefused()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        registerUser(QStringLiteral("bob1"), QStringLiteral("bobs"));
        const QByteArray before = [] {
            QFile f(SettingsStore::filePath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        m_confirmations = {password};
        QCOMPARE(procedure().attempt(user, SecretText(password)), message.isEmpty());
        if (message.isEmpty())
            return;
        expectOneBox(message, vb::vbInformation);
        QCOMPARE(m_asked, 1); // only the registration of bob1
        QFile after(SettingsStore::filePath());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }
};

QTEST_MAIN(TestLoginProcedure)
#include "test_loginprocedure.moc"
