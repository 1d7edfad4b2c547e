#pragma once
// Holders for passwords that wipe their bytes when they are done with them.
#include <QByteArray>
#include <QString>

// Overwrites the characters of a text, then empties it. A text whose storage other copies share is
// only released, so callers keep a password in one place.
void wipeText(QString& text);
void wipeBytes(QByteArray& bytes);

// The UTF-8 bytes of a password, wiped when the holder goes.
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
