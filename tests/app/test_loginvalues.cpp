// The login values: upper-case user names that stay within the code page, and wiping.
#include "app/LoginValues.h"

#include <QtTest>

class TestLoginValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userNamesAreUpperCase()
    {
        LoginValues::setUserName(QStringLiteral("bob smith"));
        QCOMPARE(LoginValues::userName(), QStringLiteral("BOB SMITH"));
        QCOMPARE(upperCaseUserName(QStringLiteral("j\u00fcrgen \u0161\u0153\u017e\u00ff")),
                 QStringLiteral("J\u00dcRGEN \u0160\u0152\u017d\u0178"));
        // Upper-case forms outside the code page (micro sign) or of another length (sharp s) are not used.
        QCOMPARE(upperCaseUserName(QStringLiteral("\u00b5\u00df")), QStringLiteral("\u00b5\u00df"));
    }

    void wipeEmptiesEveryValueAndLeavesTheCallersTexts()
    {
        const QString typed = QStringLiteral("hunter22");
        LoginValues::setMasterPassword(SecretText(typed));
        LoginValues::setHeldVerifier(SecretText(u"\x01\x02verifier"));
        LoginValues::wipe();
        QVERIFY(LoginValues::userName().isEmpty());
        QVERIFY(LoginValues::masterPassword().isEmpty());
        QVERIFY(LoginValues::heldVerifier().isEmpty());
        QCOMPARE(typed, QStringLiteral("hunter22"));
    }
};

QTEST_GUILESS_MAIN(TestLoginValues)
#include "test_loginvalues.moc"
