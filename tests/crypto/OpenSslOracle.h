#pragma once
// OpenSSL's Blowfish, used by the tests as an implementation nobody here wrote.
#include <QByteArray>
#include <openssl/blowfish.h>

// The hex of one 8-byte block enciphered (or deciphered) under the key.
inline QByteArray opensslEcbHex(const QByteArray& key, const QByteArray& block, bool encrypt)
{
    BF_KEY schedule;
    BF_set_key(&schedule, int(key.size()), reinterpret_cast<const unsigned char*>(key.constData()));
    unsigned char out[8];
    BF_ecb_encrypt(reinterpret_cast<const unsigned char*>(block.constData()), out, &schedule,
                   encrypt ? BF_ENCRYPT : BF_DECRYPT);
    return QByteArray(reinterpret_cast<const char*>(out), 8).toHex();
}
