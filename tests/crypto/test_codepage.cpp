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

QTEST_GUILESS_MAIN(TestCodePage)
#include "test_codepage.moc"
