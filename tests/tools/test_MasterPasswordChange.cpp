// The master password change: what a change replaces, that the old password then fails and the new one
// passes, and that every refusal, and a store that cannot be written, change nothing.
#include "TestSupport.h"
#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"
#include "tools/MasterPasswordChange.h"

#include <QtTest>

using Field = MasterPasswordChange::Field;

namespace {
const QString kOld = QStringLiteral("tiger123");
const QString kNew = QStringLiteral("Lion4567");

void writeVerifier(const QString& user, const QString& verifier)
{
    SettingsStore::write(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"), verifier);
}
} // namespace

class TestMasterPasswordChange : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;
    QString m_oldVerifier;

    void verifyNothingChanged()
    {
        QCOMPARE(LoginValues::masterPassword().exposed().text(), kOld);
        QCOMPARE(LoginValues::heldVerifier().exposed().text(), m_oldVerifier);
        QCOMPARE(support::storedVerifier(QStringLiteral("BOB")), m_oldVerifier);
        QCOMPARE(Encrypt(kOld), m_oldVerifier); // the old key is still in force
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        support::logIn(QStringLiteral("BOB"), kOld);
        m_oldVerifier = LoginValues::heldVerifier().exposed().text();
    }

    void changeReplacesEverythingTogether()
    {
        const MasterPasswordChange change(writeVerifier);
        const auto result = change.apply(kOld, kNew, kNew);
        QCOMPARE(result.inform, QStringLiteral("Master Password successfully changed!"));
        QCOMPARE(LoginValues::masterPassword().exposed().text(), kNew);
        QCOMPARE(support::storedVerifier(QStringLiteral("BOB")), LoginValues::heldVerifier().exposed().text());
        QVERIFY(LoginValues::heldVerifier().exposed().text() != m_oldVerifier);
        // The data file password is made from the held verifier: it must give back the new password.
        QCOMPARE(Decrypt(LoginValues::heldVerifier().view()), kNew);

        // Without logging in again, the old password is refused and the new one accepted.
        const QString next = QStringLiteral("puma8901");
        QCOMPARE(change.apply(kOld, next, next).outcome, MasterPasswordChange::Outcome::InvalidMaster);
        QCOMPARE(change.apply(kNew, next, next).outcome, MasterPasswordChange::Outcome::Changed);
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("inform");
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("clearConfirm");
        const QString invalid = QStringLiteral("Invalid Master Password, try again!");
        const QString mismatch = QStringLiteral("Password confirmation does not match, try again!");
        const QString foreign = QStringLiteral("lion\u4e2d");

        // The length is checked first, so a short wrong password is "incomplete".
        QTest::newRow("current of 3") << "tig" << kNew << kNew << "Incomplete Master P/W entered. Try again."
                                      << int(Field::Master) << false;
        QTest::newRow("current wrong") << "tiger124" << kNew << kNew << invalid << int(Field::Master) << false;
        QTest::newRow("current in upper case") << "TIGER123" << kNew << kNew << invalid << int(Field::Master) << false;
        QTest::newRow("new of 3") << kOld << "abc"
                                  << "abc"
                                  << "New Password must be at least 4 characters long, try again!" << int(Field::Change)
                                  << true;
        QTest::newRow("new outside code page")
            << kOld << foreign << foreign << "New Password may only use Western European characters, try again!"
            << int(Field::Change) << true;
        QTest::newRow("confirmation in lower case")
            << kOld << kNew << kNew.toLower() << mismatch << int(Field::Confirm) << false;
    }

    void refusalsChangeNothing()
    {
        QFETCH(QString, current);
        QFETCH(QString, changed);
        QFETCH(QString, confirmation);
        int stores = 0;
        const auto result = MasterPasswordChange([&stores](const QString&, const QString&) {
                                ++stores;
                            }).apply(current, changed, confirmation);
        QTEST(result.inform, "inform");
        QTEST(int(result.selectAll), "field");
        QTEST(result.clearConfirm, "clearConfirm");
        QCOMPARE(stores, 0);
        verifyNothingChanged();
    }

    void anUnwritableStoreLeavesTheOldPasswordInForce()
    {
        const MasterPasswordChange change(
            [](const QString&, const QString&) { throw RuntimeError(75, QStringLiteral("Path/File access error")); });
        QVERIFY_THROWS_EXCEPTION(RuntimeError, change.apply(kOld, kNew, kNew));
        verifyNothingChanged();
    }
};

QTEST_GUILESS_MAIN(TestMasterPasswordChange)
#include "test_MasterPasswordChange.moc"
