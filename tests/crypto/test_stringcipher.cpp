#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

#include <QtTest>
#include <random>
#include <utility>

namespace {

QString textOf(std::initializer_list<uint8_t> bytes)
{
    return cv_StringFromBytes(bytes.begin(), int(bytes.size()));
}

QString randomText(std::mt19937& rng, int length)
{
    std::uniform_int_distribution<int> byte(0, 255);
    QString text;
    for (int i = 0; i < length; ++i)
        text += cv_CharFromByte(uint8_t(byte(rng)));
    return text;
}

} // namespace

class TestStringCipher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { bwdetail::g_tracing = false; }
    void knownAnswerAndEmptyText();
    void verifierLengths();
    void roundTripsOverEveryCodePageCharacter();
    void partialBlocksComeBackAsSpaces();
    void refusedKeysLeaveTheKeyInForce();
    void charactersOutsideTheCodePageAreRefused();
};

void TestStringCipher::knownAnswerAndEmptyText()
{
    SetKey(QStringLiteral("abcd"));
    const QString expected = textOf({0x36, 0xE8, 0x45, 0xB8, 0x23, 0x52, 0x0F, 0xBC});
    QCOMPARE(Encrypt(QStringLiteral("abcd")), expected);
    QCOMPARE(Decrypt(expected), QStringLiteral("abcd"));
    QCOMPARE(Encrypt(QString()), QString());
    QCOMPARE(Decrypt(QString()), QString());
}

void TestStringCipher::verifierLengths()
{
    // Password length -> verifier length.
    for (const auto& [n, length] : {std::pair{4, 8}, {7, 8}, {8, 16}, {15, 16}, {16, 24}}) {
        const QString password = QStringLiteral("abcdefghijklmnop").left(n);
        SetKey(password);
        const QString verifier = Encrypt(password);
        QCOMPARE(verifier.size(), length);
        QCOMPARE(Encrypt(password), verifier); // no salt: the same password always gives the same verifier
        QCOMPARE(Decrypt(verifier), password);
    }
}

void TestStringCipher::roundTripsOverEveryCodePageCharacter()
{
    std::mt19937 rng(0x70A57u);
    std::uniform_int_distribution<int> length(1, 33);
    std::uniform_int_distribution<int> keyLength(4, 16);

    QStringList texts{randomText(rng, 0)};
    for (int b = 0; b < 256; ++b)
        texts[0] += cv_CharFromByte(uint8_t(b));
    // A text's own last character may carry a pad code: it is data, and the padding follows it.
    for (char16_t code = 1; code <= 8; ++code)
        texts << QString(1, QChar(code)) << randomText(rng, 7) + QChar(code) << QString(8, QChar(code));
    for (int n = 0; n < 500; ++n)
        texts << randomText(rng, length(rng));

    for (const QString& text : texts) {
        const QString key = randomText(rng, keyLength(rng));
        SetKey(key);
        const QString cipher = Encrypt(text);
        QCOMPARE(cipher.size(), (text.size() / 8 + 1) * 8);
        QCOMPARE(Decrypt(cipher), text);

        // Under another key the result is garbage, never an error, and at most one block of padding goes.
        SetKey(key + QLatin1Char('x'));
        QVERIFY(Decrypt(cipher).size() >= cipher.size() - 8);
    }

    // Equal plain blocks give equal cipher blocks: there is no chaining between blocks.
    const QString twice = Encrypt(QStringLiteral("samesamesamesame"));
    QCOMPARE(twice.mid(0, 8), twice.mid(8, 8));
}

void TestStringCipher::partialBlocksComeBackAsSpaces()
{
    SetKey(QStringLiteral("abcd"));
    for (int n = 1; n <= 7; ++n)
        QCOMPARE(Decrypt(QString(n, QLatin1Char('Q'))), QString(n, QLatin1Char(' ')));

    const QString cipher = Encrypt(QStringLiteral("abcdefgh")); // the second block is all padding
    QCOMPARE(Decrypt(cipher.left(12)), QStringLiteral("abcdefgh    "));
    QCOMPARE(Decrypt(cipher + QStringLiteral("zz")),
             QStringLiteral("abcdefgh") + QString(8, QChar(8)) + QStringLiteral("  "));
}

void TestStringCipher::refusedKeysLeaveTheKeyInForce()
{
    const QString plain = QStringLiteral("plain text");
    SetKey(QStringLiteral("first"));
    const QString underFirst = Encrypt(plain);
    SetKey(QStringLiteral("second"));
    QVERIFY(Encrypt(plain) != underFirst);
    SetKey(QStringLiteral("first"));
    QCOMPARE(Encrypt(plain), underFirst);

    SetKey(QString(57, QLatin1Char('k')));
    QCOMPARE(Encrypt(plain), underFirst);
    SetKey(QString());
    QCOMPARE(Encrypt(plain), underFirst);
    SetKey(QString(56, QLatin1Char('k')));
    QVERIFY(Encrypt(plain) != underFirst);
}

void TestStringCipher::charactersOutsideTheCodePageAreRefused()
{
    const QString secret = QStringLiteral("hunter") + QChar(0x0100);
    QByteArray out("stale");
    QVERIFY(!cv_BytesFromString(secret, out));
    QVERIFY(out.isEmpty());

    SetKey(QStringLiteral("abcd"));
    try {
        SetKey(secret);
        QFAIL("a key outside the code page was accepted");
    } catch (const RuntimeError& e) {
        QVERIFY(!e.description().contains(QStringLiteral("hunter"))); // no secret in an error text
    }
    QCOMPARE(Encrypt(QStringLiteral("abcd")), textOf({0x36, 0xE8, 0x45, 0xB8, 0x23, 0x52, 0x0F, 0xBC}));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Encrypt(secret));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Decrypt(QString(8, QChar(0x4E2D))));
}

QTEST_GUILESS_MAIN(TestStringCipher)
#include "test_stringcipher.moc"
