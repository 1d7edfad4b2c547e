#include "app/LoginValues.h"

#include "crypto/SecureWipe.h"
#include "errortrap/Bulwark.h"

namespace {

struct Values
{
    QString userName;
    QString masterPassword;
    QString heldVerifier;
};

Values& values()
{
    static Values v;
    return v;
}

// A copy with a buffer of its own. The held values never share their buffers, so wiping them reaches
// the only copy the login values keep; what a caller copies out is the caller's to wipe.
QString ownCopy(const QString& text)
{
    return QString(text.constData(), text.size());
}

// Replaces a value, wiping what it held first so the old secret does not linger in freed memory.
void replace(QString& slot, const QString& text)
{
    secureWipe(slot);
    slot = ownCopy(text);
}

// The characters above Latin-1 that the code page holds and that are the upper-case forms of
// code-page letters: S caron, OE, Z caron, Y diaeresis.
bool isCodePageCapital(char16_t u)
{
    return u == 0x0160 || u == 0x0152 || u == 0x017D || u == 0x0178;
}

} // namespace

QString LoginValues::userName()
{
    BW_TRACE("LoginValues.cpp", "Function userName");
    return values().userName;
}

void LoginValues::setUserName(const QString& name)
{
    BW_TRACE("LoginValues.cpp", "Sub setUserName");
    replace(values().userName, upperCaseUserName(name));
}

QString LoginValues::masterPassword()
{
    BW_TRACE("LoginValues.cpp", "Function masterPassword");
    return ownCopy(values().masterPassword);
}

void LoginValues::setMasterPassword(const QString& password)
{
    BW_TRACE("LoginValues.cpp", "Sub setMasterPassword");
    replace(values().masterPassword, password);
}

QString LoginValues::heldVerifier()
{
    BW_TRACE("LoginValues.cpp", "Function heldVerifier");
    return ownCopy(values().heldVerifier);
}

void LoginValues::setHeldVerifier(const QString& verifier)
{
    BW_TRACE("LoginValues.cpp", "Sub setHeldVerifier");
    replace(values().heldVerifier, verifier);
}

void LoginValues::wipe()
{
    BW_TRACE("LoginValues.cpp", "Sub wipe");
    secureWipe(values().userName);
    secureWipe(values().masterPassword);
    secureWipe(values().heldVerifier);
}

QString upperCaseUserName(const QString& name)
{
    BW_TRACE("LoginValues.cpp", "Function upperCaseUserName");
    QString upper = name;
    for (QChar& ch : upper) {
        const QChar up = ch.toUpper();
        if (up.unicode() <= 0xFF || isCodePageCapital(up.unicode()))
            ch = up;
    }
    return upper;
}
