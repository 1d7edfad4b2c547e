#include "datafile/DataFilePassword.h"

#include "app/LoginValues.h"
#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

QString dataFilePassword(const QString& givenPassword)
{
    BW_TRACE("basDataFile.bas", "Function dataFilePassword");
    if (!givenPassword.isEmpty())
        return givenPassword + dataFilePasswordSuffix();
    QString master = Decrypt(LoginValues::heldVerifier());
    const QString password = master + dataFilePasswordSuffix();
    secureWipe(master);
    return password;
}
