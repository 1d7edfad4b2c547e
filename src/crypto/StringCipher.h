#pragma once
// The string cipher: a text of code-page characters enciphered block by block with Blowfish under the one
// key in force, padded with 1 to 8 characters whose code is the pad length. The password verifier is a
// password enciphered under itself.
//
// Cipher texts are texts of code-page characters, one per byte: they may hold U+0000 and control
// characters. A character outside the code page is never replaced by another: cv_BytesFromString reports
// it, and SetKey, Encrypt and Decrypt throw RuntimeError on it (callers check passwords with
// IsCodePageText first).
#include "crypto/CodePage.h"
#include "crypto/SecretText.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The code-page bytes of the text, one per character. False when a character is not in the code page;
// `out` is then empty.
bool cv_BytesFromString(QStringView text, QByteArray& out);

// Sets the key in force for the whole process from the text's bytes. A key longer than 56 characters, or
// an empty one, leaves the previous key in force.
void SetKey(QStringView key);

// The empty text for the empty text; otherwise blf_StringEnc / blf_StringDec.
QString Encrypt(QStringView text);
QString Decrypt(QStringView text);

// The same for secrets (a password, a verifier): the result goes straight into a secret.
SecretText Encrypt(const SecretText& text);
SecretText Decrypt(const SecretText& text);

// Pads and enciphers a text of n characters into ((n div 8) + 1) × 8 characters.
QString blf_StringEnc(QStringView text);

// Deciphers the whole blocks; characters after the last whole block come back as spaces. The code of the
// last character, when it is 1 to 8, is the number of characters removed from the end.
QString blf_StringDec(QStringView text);
