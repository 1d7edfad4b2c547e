#include "crypto/SecureWipe.h"

#include "errortrap/Bulwark.h"

#include <string.h>

void WipeBytes(void* data, std::size_t length)
{
    BW_TRACE("basWipe.bas", "Sub WipeBytes");
    WipeBytesAtExit(data, length);
}

void WipeBytesAtExit(void* data, std::size_t length)
{
    if (data && length)
        explicit_bzero(data, length);
}
