#include "LoginFixture.h"

#include "app/LoginValues.h"
#include "crypto/StringCipher.h"

namespace fixtures {

void logIn(const QString& userName, const QString& masterPassword)
{
    LoginValues::setUserName(userName);
    LoginValues::setMasterPassword(masterPassword);
    SetKey(masterPassword);
    LoginValues::setHeldVerifier(Encrypt(masterPassword));
}

} // namespace fixtures
