#include "storage/DataFilePassword.h"

#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

SecretText dataFilePasswordOf(const SecretText& masterPassword)
{
    BW_TRACE("DataFilePassword.cpp", "Function dataFilePasswordOf");
    return masterPassword.followedBy(dataFilePasswordSuffix());
}

SecretText loginDataFilePassword(const SecretText& heldVerifier)
{
    BW_TRACE("DataFilePassword.cpp", "Function loginDataFilePassword");
    return dataFilePasswordOf(Decrypt(heldVerifier));
}
