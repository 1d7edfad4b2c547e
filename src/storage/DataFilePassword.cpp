#include "storage/DataFilePassword.h"

#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

SecretText dataFilePasswordOf(const SecretText& masterPassword)
{
    BW_TRACE("basDataFile.bas", "Function dataFilePasswordOf");
    return masterPassword.followedBy(dataFilePasswordSuffix());
}

SecretText loginDataFilePassword(const SecretText& heldVerifier)
{
    BW_TRACE("basDataFile.bas", "Function loginDataFilePassword");
    return dataFilePasswordOf(Decrypt(heldVerifier));
}
