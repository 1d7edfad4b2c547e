#include "crypto/CodePage.h"
#include "errortrap/Bulwark.h"

#include <QSet>
#include <QtTest>
#include <iconv.h>

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyByteIsOneCharacterAsTheSystemConverterSays();
    void charactersOutsideTheCodePageAreReported();
};

void TestCodePage::everyByteIsOneCharacterAsTheSystemConverterSays()
{
    // The C library's Windows-1252 converter is the oracle for the 251 defined bytes.
    iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    QVERIFY(cd != iconv_t(-1));
    const QSet<int> undefined{0x81, 0x8D, 0x8F, 0x90, 0x9D};
    QSet<char16_t> seen;
    uint8_t all[256];
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char16_t out = 0;
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t inLeft = 1, outLeft = 2;
        const bool defined = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
        QCOMPARE(defined, !undefined.contains(b));

        const QChar c = cv_CharFromByte(uint8_t(b));
        QCOMPARE(c.unicode(), defined ? out : char16_t(b));
        uint8_t back = 0;
        QVERIFY(cv_ByteFromChar(c, back));
        QCOMPARE(int(back), b);
        seen.insert(c.unicode());
        all[b] = uint8_t(b);
    }
    iconv_close(cd);
    QCOMPARE(seen.size(), 256);
    const QString text = cv_StringFromBytes(all, 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QVERIFY(IsCodePageText(text));
}

void TestCodePage::charactersOutsideTheCodePageAreReported()
{
    // C1 controls that Windows-1252 puts elsewhere, Latin Extended, CJK, a surrogate half, the replacement mark.
    for (const char16_t u : {0x0080, 0x0082, 0x009F, 0x0100, 0x20AD, 0x4E2D, 0xD83D, 0xFFFD}) {
        uint8_t out = 0x5A;
        QVERIFY2(!cv_ByteFromChar(QChar(u), out), qPrintable(QString::number(u, 16)));
        QCOMPARE(out, uint8_t(0x5A));
    }
    QVERIFY(!IsCodePageText(QString::fromUtf8("caf\xC3\xA9\xF0\x9F\x94\x91"))); // café and an emoji
    QVERIFY(IsCodePageText(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC")));     // café €
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_CodePage.moc"
