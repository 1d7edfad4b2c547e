#pragma once
// Secrets in memory: a master password, a verifier, a data file password.
//
// A secret lives in a buffer of its own that is wiped when its holder goes, on every way out, exceptions
// included. Secrets move but do not copy; a second holder is made only on purpose (copy()), and a plain
// QString of a secret only through exposed(), whose text is wiped when the full expression ends. Both are
// easy to find. What cannot be reached is said where it happens: a widget that is handed a text keeps its
// own copy, and a QString that shares its buffer with another holder is only let go of, never zeroed.
#include <QString>
#include <QStringView>
#include <cstddef>

// The memory of every secret: whole pages of its own, zeroed when made and wiped before they are given back.
// The pages are locked into memory, so they are never written to swap, and left out of core dumps. The
// locked memory a user may hold is limited (RLIMIT_MEMLOCK); past the limit a buffer works unlocked and is
// wiped all the same. Pages of its own, because a lock is per page and not counted: unlocking a page shared
// with another secret would unlock that secret too.
class SecretBuffer
{
public:
    SecretBuffer() = default;
    explicit SecretBuffer(std::size_t bytes);
    ~SecretBuffer();
    SecretBuffer(SecretBuffer&& other) noexcept;
    SecretBuffer& operator=(SecretBuffer&& other) noexcept;
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;

    void* data() { return m_data; }
    const void* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void release() noexcept;

    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0;
    bool m_locked = false;
};

// The UTF-8 bytes of a secret, as the database engine takes a key.
class SecretBytes
{
public:
    const char* data() const { return static_cast<const char*>(m_buffer.data()); }
    int size() const { return int(m_size); }
    bool isEmpty() const { return m_size == 0; }

private:
    friend class SecretText;
    SecretBuffer m_buffer;
    std::size_t m_size = 0;
};

class SecretText
{
public:
    class Exposed;

    SecretText() = default;
    // Copies the characters; the caller's text is left as it is (and is the caller's to wipe).
    explicit SecretText(QStringView text);
    // Takes the characters of text and wipes it: the secret then lives here only.
    static SecretText take(QString& text);
    static SecretText take(QString&& text);

    SecretText(SecretText&& other) noexcept = default;
    SecretText& operator=(SecretText&& other) noexcept = default;
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    // A second holder of the same secret, with a buffer of its own.
    SecretText copy() const;
    // This secret followed by text, in a new holder.
    SecretText followedBy(QStringView text) const;

    bool isEmpty() const { return size() == 0; }
    qsizetype size() const { return qsizetype(m_buffer.size() / sizeof(char16_t)); }
    // The characters where they are: valid while this holder lives and is not assigned to.
    QStringView view() const { return QStringView(static_cast<const char16_t*>(m_buffer.data()), size()); }
    // A QString of the secret for an API that takes nothing else; wiped at the end of the full expression.
    Exposed exposed() const;
    // The UTF-8 bytes, encoded straight into a secret buffer.
    SecretBytes toUtf8() const;

    // Wipes the secret and leaves this holder empty.
    void clear() { m_buffer = SecretBuffer(); }

    friend bool operator==(const SecretText& a, const SecretText& b) { return a.view() == b.view(); }
    friend bool operator!=(const SecretText& a, const SecretText& b) { return !(a == b); }

private:
    SecretBuffer m_buffer;
};

// A QString copy of a secret that wipes itself when it goes. A holder that copies text() out shares its
// buffer, which the wipe then leaves alone: hand text() only to APIs that copy what they keep, or nothing.
class SecretText::Exposed
{
public:
    explicit Exposed(QStringView text) : m_text(text.toString()) {}
    ~Exposed();
    Exposed(const Exposed&) = delete;
    Exposed& operator=(const Exposed&) = delete;

    const QString& text() const { return m_text; }

private:
    QString m_text;
};
