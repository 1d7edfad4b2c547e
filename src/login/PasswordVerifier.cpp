#include "login/PasswordVerifier.h"

#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

QString keyAndVerifierOf(const QString& password)
{
    BW_TRACE("PasswordVerifier.cpp", "Function keyAndVerifierOf");
    SetKey(password);
    return Encrypt(password);
}
