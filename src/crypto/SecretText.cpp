#include "crypto/SecretText.h"

#include "crypto/SecureWipe.h"

#include <QStringEncoder>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

// The secret types are not traced: holders are destroyed at exit too, after the trace may be gone.

namespace {
std::size_t wholePages(std::size_t bytes)
{
    static const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

// The system calls themselves: the address sanitizer of the test build replaces the library's mlock with
// one that locks nothing and says it did.
bool lockPages(void* pages, std::size_t bytes)
{
    return syscall(SYS_mlock, pages, bytes) == 0;
}

void unlockPages(void* pages, std::size_t bytes)
{
    (void)syscall(SYS_munlock, pages, bytes);
}
} // namespace

SecretBuffer::SecretBuffer(std::size_t bytes)
{
    if (bytes == 0)
        return;
    const std::size_t mapped = wholePages(bytes);
    // Anonymous pages come zeroed.
    void* pages = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_DONTDUMP
    (void)madvise(pages, mapped, MADV_DONTDUMP);
#endif
    m_locked = lockPages(pages, mapped);
    m_data = static_cast<unsigned char*>(pages);
    m_size = bytes;
    m_mapped = mapped;
}

SecretBuffer::~SecretBuffer()
{
    release();
}

SecretBuffer::SecretBuffer(SecretBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0)), m_locked(std::exchange(other.m_locked, false))
{
}

SecretBuffer& SecretBuffer::operator=(SecretBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
        m_locked = std::exchange(other.m_locked, false);
    }
    return *this;
}

void SecretBuffer::release() noexcept
{
    if (m_data) {
        WipeBytesAtExit(m_data, m_size);
        if (m_locked)
            unlockPages(m_data, m_mapped);
        (void)munmap(m_data, m_mapped);
    }
    m_data = nullptr;
    m_size = 0;
    m_mapped = 0;
    m_locked = false;
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
