#include "storage/SecretText.h"

#include "crypto/SecureWipe.h"
#include "errortrap/Bulwark.h"

SecretBytes::SecretBytes(const QString& text) : m_bytes(text.toUtf8())
{
    BW_TRACE("clsSecret.cls", "Sub SecretBytes");
}

SecretBytes::~SecretBytes()
{
    BW_TRACE("clsSecret.cls", "Sub ~SecretBytes");
    if (!m_bytes.isEmpty() && m_bytes.isDetached())
        WipeBytes(m_bytes.data(), size_t(m_bytes.size()));
}
