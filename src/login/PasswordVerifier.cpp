#include "login/PasswordVerifier.h"

#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

SecretText keyAndVerifierOf(const SecretText& password)
{
    BW_TRACE("PasswordVerifier.cpp", "Function keyAndVerifierOf");
    SetKey(password.view());
    return Encrypt(password);
}
