#include "storage/DataFilePassword.h"

#include "crypto/SecureWipe.h"
#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

QString dataFilePasswordOf(const QString& masterPassword)
{
    BW_TRACE("basDataFile.bas", "Function dataFilePasswordOf");
    return masterPassword + dataFilePasswordSuffix();
}

QString loginDataFilePassword(const QString& heldVerifier)
{
    BW_TRACE("basDataFile.bas", "Function loginDataFilePassword");
    QString master = Decrypt(heldVerifier);
    const QString password = dataFilePasswordOf(master);
    secureWipe(master);
    return password;
}
