#include "app/LoginValues.h"

#include "crypto/SecureWipe.h"
#include "errortrap/Bulwark.h"

#include <utility>

namespace {

struct Values
{
    QString userName;
    SecretText masterPassword;
    SecretText heldVerifier;
};

Values& values()
{
    static Values v;
    return v;
}

// Replaces the user name, wiping what it held first. The name keeps a buffer of its own, so the wipe
// reaches the only copy the login values keep.
void replace(QString& slot, const QString& text)
{
    secureWipe(slot);
    slot = QString(text.constData(), text.size());
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

const SecretText& LoginValues::masterPassword()
{
    BW_TRACE("LoginValues.cpp", "Function masterPassword");
    return values().masterPassword;
}

void LoginValues::setMasterPassword(SecretText password)
{
    BW_TRACE("LoginValues.cpp", "Sub setMasterPassword");
    values().masterPassword = std::move(password);
}

const SecretText& LoginValues::heldVerifier()
{
    BW_TRACE("LoginValues.cpp", "Function heldVerifier");
    return values().heldVerifier;
}

void LoginValues::setHeldVerifier(SecretText verifier)
{
    BW_TRACE("LoginValues.cpp", "Sub setHeldVerifier");
    values().heldVerifier = std::move(verifier);
}

void LoginValues::wipe()
{
    BW_TRACE("LoginValues.cpp", "Sub wipe");
    secureWipe(values().userName);
    values().masterPassword.clear();
    values().heldVerifier.clear();
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
