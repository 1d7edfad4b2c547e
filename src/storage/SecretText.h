#pragma once
// The UTF-8 bytes of a password as the engine takes them, wiped when the holder goes.
#include <QByteArray>
#include <QString>

class SecretBytes
{
public:
    explicit SecretBytes(const QString& text);
    ~SecretBytes();
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    const char* data() const { return m_bytes.constData(); }
    int size() const { return int(m_bytes.size()); }
    bool isEmpty() const { return m_bytes.isEmpty(); }

private:
    QByteArray m_bytes;
};
