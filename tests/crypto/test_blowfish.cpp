#include "OpenSslOracle.h"
#include "crypto/Blowfish.h"

#include <QFile>
#include <QtTest>
#include <random>

namespace {

QByteArray cipherOf(QByteArray block, bool encrypt = true)
{
    auto* b = reinterpret_cast<uint8_t*>(block.data());
    encrypt ? blf_EncryptBytes(b) : blf_DecryptBytes(b);
    return block.toHex();
}

} // namespace

class TestBlowfish : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingIsEncipheredBeforeAKeyIsSet();
    void publishedVectors_data();
    void publishedVectors();
    void agreesWithOpenSslOnRandomKeysAndBlocks();
    void everyKeyStartsAfreshAndRefusedKeysChangeNothing();
};

void TestBlowfish::nothingIsEncipheredBeforeAKeyIsSet()
{
    QVERIFY(!blf_IsKeyed());
    QVERIFY_THROWS_EXCEPTION(RuntimeError, cipherOf(QByteArray(8, 'x')));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, cipherOf(QByteArray(8, 'x'), false));
    bwdetail::g_tracing = false; // the bulk of the checks below would otherwise trace millions of calls
}

void TestBlowfish::publishedVectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    QFile file(qEnvironmentVariable("LW_TEST_DATA") + QStringLiteral("/blowfish-vectors.txt"));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    int count = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().simplified();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> f = line.split(' ');
        QCOMPARE(f.size(), 3);
        QTest::addRow("%d key %s", ++count, f[0].constData()) << f[0] << f[1] << f[2].toLower();
    }
    QCOMPARE(count, 60);
}

void TestBlowfish::publishedVectors()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    QVERIFY(blf_KeyInit(QByteArray::fromHex(key)));
    QCOMPARE(cipherOf(QByteArray::fromHex(plain)), cipher);
    QCOMPARE(cipherOf(QByteArray::fromHex(cipher), false), plain.toLower());
}

void TestBlowfish::agreesWithOpenSslOnRandomKeysAndBlocks()
{
    const unsigned seed =
        qEnvironmentVariableIsSet("LW_TEST_SEED") ? qEnvironmentVariableIntValue("LW_TEST_SEED") : 0x5EEDB10Fu;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> keyLength(kBlfMinKeyBytes, kBlfMaxKeyBytes);
    auto randomBytes = [&](int n) {
        QByteArray bytes(n, Qt::Uninitialized);
        for (char& b : bytes)
            b = char(byte(rng));
        return bytes;
    };

    for (int n = 0; n < 10000; ++n) {
        const QByteArray key = randomBytes(keyLength(rng));
        const QByteArray plain = randomBytes(8);
        const QByteArray other = randomBytes(8);
        QVERIFY(blf_KeyInit(key));
        const QByteArray cipher = cipherOf(plain);
        // Our encipher and decipher against OpenSSL's, and our decipher undoing our encipher.
        if (cipher != opensslEcbHex(key, plain, true) || cipherOf(other, false) != opensslEcbHex(key, other, false) ||
            cipherOf(QByteArray::fromHex(cipher), false) != plain.toHex())
            QFAIL(qPrintable(QStringLiteral("seed %1, pair %2, key of %3 bytes").arg(seed).arg(n).arg(key.size())));
    }
}

void TestBlowfish::everyKeyStartsAfreshAndRefusedKeysChangeNothing()
{
    const QByteArray plain("Lockwell");
    QByteArray longest(56, Qt::Uninitialized);
    for (int i = 0; i < longest.size(); ++i)
        longest[i] = char(0x11 * i + 3);

    QVERIFY(blf_KeyInit(longest));
    const QByteArray underLongest = cipherOf(plain);
    QCOMPARE(underLongest, opensslEcbHex(longest, plain, true));
    QVERIFY(blf_KeyInit(QByteArray("\xFF\x00\x7F", 3)));
    QVERIFY(cipherOf(plain) != underLongest);
    QVERIFY(blf_KeyInit(longest));
    QCOMPARE(cipherOf(plain), underLongest);

    QVERIFY(!blf_KeyInit(longest + 'x')); // 57 bytes
    QVERIFY(!blf_KeyInit(QByteArray()));
    QVERIFY(!blf_KeyInit(nullptr, 8));
    QCOMPARE(cipherOf(plain), underLongest);
}

QTEST_GUILESS_MAIN(TestBlowfish)
#include "test_blowfish.moc"
