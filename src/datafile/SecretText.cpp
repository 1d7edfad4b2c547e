#include "datafile/SecretText.h"

#include "errortrap/Bulwark.h"

#include <cstring>

namespace {
// A store the compiler cannot drop as dead.
void secureZero(void* data, size_t size)
{
    auto* volatile bytes = static_cast<volatile unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}
} // namespace

void wipeText(QString& text)
{
    BW_TRACE("clsSecret.cls", "Sub wipeText");
    // A text whose storage is shared is only released: wiping it would copy it first.
    if (!text.isEmpty() && text.isDetached())
        secureZero(text.data(), size_t(text.size()) * sizeof(QChar));
    text.clear();
}

void wipeBytes(QByteArray& bytes)
{
    BW_TRACE("clsSecret.cls", "Sub wipeBytes");
    if (!bytes.isEmpty() && bytes.isDetached())
        secureZero(bytes.data(), size_t(bytes.size()));
    bytes.clear();
}

SecretBytes::SecretBytes(const QString& text) : m_bytes(text.toUtf8())
{
    BW_TRACE("clsSecret.cls", "Sub SecretBytes");
}

SecretBytes::~SecretBytes()
{
    BW_TRACE("clsSecret.cls", "Sub ~SecretBytes");
    wipeBytes(m_bytes);
}
