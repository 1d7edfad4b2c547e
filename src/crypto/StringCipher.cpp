#include "crypto/StringCipher.h"

#include "crypto/Blowfish.h"
#include "crypto/SecureWipe.h"
#include "errortrap/Bulwark.h"

#include <utility>
#include <vector>

namespace {

constexpr int kBlockBytes = 8;

// The key bytes of the key in force. Old bytes are wiped before they are replaced and when the process ends.
class KeyBytes
{
public:
    ~KeyBytes() { WipeBytesAtExit(m_bytes.data(), m_bytes.size()); }

    void replace(const QByteArray& bytes)
    {
        BW_TRACE("Module1.bas", "Sub KeyBytes.replace");
        WipeBytes(m_bytes.data(), m_bytes.size());
        m_bytes.clear();
        m_bytes.shrink_to_fit();
        m_bytes.assign(bytes.cbegin(), bytes.cend());
    }
    const uint8_t* data() const { return m_bytes.data(); }
    int size() const { return int(m_bytes.size()); }

private:
    std::vector<uint8_t> m_bytes;
};

KeyBytes g_keyBytes;

[[noreturn]] void throwOutsideCodePage()
{
    BW_TRACE("basConvert.bas", "Sub throwOutsideCodePage");
    throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("A character of the text is outside the code page"));
}

// Bytes of characters first..first+7 of text; positions at or past `length` are the pad byte.
bool blockFromText(QStringView text, int first, uint8_t pad, uint8_t* block)
{
    BW_TRACE("basBlowfishFns.bas", "Function blockFromText");
    for (int i = 0; i < kBlockBytes; ++i) {
        const int pos = first + i;
        if (pos >= text.size())
            block[i] = pad;
        else if (!cv_ByteFromChar(text[pos], block[i]))
            return false;
    }
    return true;
}

void blockToText(const uint8_t* block, QString& text, int first)
{
    BW_TRACE("basBlowfishFns.bas", "Sub blockToText");
    for (int i = 0; i < kBlockBytes; ++i)
        text[first + i] = cv_CharFromByte(block[i]);
}

} // namespace

bool cv_BytesFromString(QStringView text, QByteArray& out)
{
    BW_TRACE("basConvert.bas", "Function cv_BytesFromString");
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i) {
        uint8_t b = 0;
        if (!cv_ByteFromChar(text[i], b)) {
            WipeBytes(bytes.data(), size_t(i));
            out.clear();
            return false;
        }
        bytes[i] = char(b);
    }
    out = std::move(bytes);
    return true;
}

void SetKey(QStringView key)
{
    BW_TRACE("Module1.bas", "Sub SetKey");
    QByteArray bytes;
    if (!cv_BytesFromString(key, bytes))
        throwOutsideCodePage();
    g_keyBytes.replace(bytes);
    WipeBytes(bytes.data(), size_t(bytes.size()));
    blf_KeyInit(g_keyBytes.data(), g_keyBytes.size());
}

QString Encrypt(QStringView text)
{
    BW_TRACE("Module1.bas", "Function Encrypt");
    if (text.isEmpty())
        return QString();
    return blf_StringEnc(text);
}

QString Decrypt(QStringView text)
{
    BW_TRACE("Module1.bas", "Function Decrypt");
    if (text.isEmpty())
        return QString();
    return blf_StringDec(text);
}

SecretText Encrypt(const SecretText& text)
{
    BW_TRACE("Module1.bas", "Function Encrypt");
    return SecretText::take(Encrypt(text.view()));
}

SecretText Decrypt(const SecretText& text)
{
    BW_TRACE("Module1.bas", "Function Decrypt");
    return SecretText::take(Decrypt(text.view()));
}

QString blf_StringEnc(QStringView text)
{
    BW_TRACE("basBlowfishFns.bas", "Function blf_StringEnc");
    const int n = int(text.size());
    const int padded = (n / kBlockBytes + 1) * kBlockBytes;
    const uint8_t pad = uint8_t(padded - n);

    QString out(padded, QLatin1Char(' '));
    uint8_t block[kBlockBytes];
    for (int first = 0; first < padded; first += kBlockBytes) {
        if (!blockFromText(text, first, pad, block)) {
            WipeBytes(block, sizeof(block));
            throwOutsideCodePage();
        }
        blf_EncryptBytes(block);
        blockToText(block, out, first);
    }
    WipeBytes(block, sizeof(block));
    return out;
}

QString blf_StringDec(QStringView text)
{
    BW_TRACE("basBlowfishFns.bas", "Function blf_StringDec");
    const int n = int(text.size());
    const int whole = n / kBlockBytes * kBlockBytes;

    QString out(n, QLatin1Char(' '));
    uint8_t block[kBlockBytes];
    uint8_t last = ' ';
    for (int first = 0; first < whole; first += kBlockBytes) {
        if (!blockFromText(text, first, 0, block)) {
            WipeBytes(block, sizeof(block));
            WipeBytes(out.data(), size_t(n) * sizeof(QChar));
            throwOutsideCodePage();
        }
        blf_DecryptBytes(block);
        blockToText(block, out, first);
        last = block[kBlockBytes - 1];
    }
    WipeBytes(block, sizeof(block));

    // Only the last character says how much padding there is; a text with a partial block ends in a space.
    if (whole < n)
        last = ' ';
    const int pad = last <= kBlockBytes ? last : 0;
    out.truncate(n - pad);
    return out;
}
