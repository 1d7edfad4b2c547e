// The secret type: it holds the only copy it owns, moves without copying, and wiping a text never reaches
// into a copy someone else still holds.
#include "crypto/SecretText.h"
#include "crypto/SecureWipe.h"

#include <QtTest>

class TestSecretText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesMovesAndCopiesWithoutSharing()
    {
        QString typed = QStringLiteral("hunter22");
        typed.detach();
        SecretText secret = SecretText::take(typed);
        QVERIFY(typed.isEmpty());
        QCOMPARE(secret.exposed().text(), QStringLiteral("hunter22"));

        // A text that shares its buffer with another holder is let go of, never zeroed under that holder.
        const QString kept = QStringLiteral("shared pw");
        QString shared = kept;
        const SecretText fromShared = SecretText::take(shared);
        QVERIFY(shared.isEmpty());
        QCOMPARE(kept, QStringLiteral("shared pw"));
        QString alsoShared = kept;
        secureWipe(alsoShared);
        QCOMPARE(kept, QStringLiteral("shared pw"));

        SecretText copy = secret.copy();
        const SecretText moved = std::move(secret);
        QVERIFY(secret.isEmpty()); // moving empties the source
        QVERIFY(moved == copy && moved.view().data() != copy.view().data());
        copy.clear();
        QVERIFY(copy.isEmpty());
        QCOMPARE(moved.view(), QStringView(u"hunter22"));
    }

    void joinsAndEncodesAsTheEngineTakesAKey()
    {
        const SecretText password = SecretText(u"\u00e9t\u00e9").followedBy(u"K7352");
        QCOMPARE(password.size(), 8);
        const SecretBytes key = password.toUtf8();
        QCOMPARE(QByteArray(key.data(), key.size()), QByteArray("\xc3\xa9t\xc3\xa9K7352"));
        QVERIFY(SecretText().toUtf8().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSecretText)
#include "tst_SecretText.moc"
