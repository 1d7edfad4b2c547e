#include "crypto/SecureWipe.h"

#include "errortrap/Bulwark.h"

#include <QString>
#include <string.h>

void WipeBytes(void* data, std::size_t length)
{
    BW_TRACE("SecureWipe.cpp", "Sub WipeBytes");
    WipeBytesAtExit(data, length);
}

void WipeBytesAtExit(void* data, std::size_t length)
{
    if (data && length)
        explicit_bzero(data, length);
}

void secureWipe(QString& text)
{
    BW_TRACE("SecureWipe.cpp", "Sub secureWipe");
    if (!text.isEmpty() && text.isDetached())
        WipeBytesAtExit(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    text = QString();
}
