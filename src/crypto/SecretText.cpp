#include "crypto/SecretText.h"

#include "crypto/SecureWipe.h"

#include <QStringEncoder>
#include <cstring>
#include <utility>

// The secret types are not traced: holders are destroyed at exit too, after the trace may be gone.

SecretBuffer::SecretBuffer(std::size_t bytes) : m_data(bytes ? new unsigned char[bytes]() : nullptr), m_size(bytes) {}

SecretBuffer::~SecretBuffer()
{
    release();
}

SecretBuffer::SecretBuffer(SecretBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

SecretBuffer& SecretBuffer::operator=(SecretBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void SecretBuffer::release() noexcept
{
    WipeBytesAtExit(m_data, m_size);
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}

SecretText::SecretText(QStringView text) : m_buffer(std::size_t(text.size()) * sizeof(char16_t))
{
    if (!text.isEmpty())
        std::memcpy(m_buffer.data(), text.utf16(), m_buffer.size());
}

SecretText SecretText::take(QString& text)
{
    SecretText secret{QStringView(text)};
    secureWipe(text);
    return secret;
}

SecretText SecretText::take(QString&& text)
{
    return take(text);
}

SecretText SecretText::copy() const
{
    return SecretText(view());
}

SecretText SecretText::followedBy(QStringView text) const
{
    SecretText joined;
    joined.m_buffer = SecretBuffer(std::size_t(size() + text.size()) * sizeof(char16_t));
    auto* out = static_cast<char16_t*>(joined.m_buffer.data());
    if (!isEmpty())
        std::memcpy(out, view().utf16(), std::size_t(size()) * sizeof(char16_t));
    if (!text.isEmpty())
        std::memcpy(out + size(), text.utf16(), std::size_t(text.size()) * sizeof(char16_t));
    return joined;
}

SecretText::Exposed SecretText::exposed() const
{
    return Exposed(view());
}

SecretText::Exposed::~Exposed()
{
    secureWipe(m_text);
}

SecretBytes SecretText::toUtf8() const
{
    SecretBytes bytes;
    if (isEmpty())
        return bytes;
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    bytes.m_buffer = SecretBuffer(std::size_t(encoder.requiredSpace(size())));
    char* start = static_cast<char*>(bytes.m_buffer.data());
    char* end = encoder.appendToBuffer(start, view());
    bytes.m_size = std::size_t(end - start);
    return bytes;
}
