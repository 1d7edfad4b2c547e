#pragma once
// The data file password, kept in a file of its own: the cipher's Encrypt() and the program-wide option
// variable Encrypt cannot be seen from one file.
#include <QString>

// The text appended to a master password to make a data file password.
inline const QString& dataFilePasswordSuffix()
{
    static const QString suffix = QStringLiteral("K7352");
    return suffix;
}

// The login's master password (deciphered from the held verifier under the key in force) followed by
// the suffix; for a given password (Open With Password), that password followed by the suffix.
QString dataFilePassword(const QString& givenPassword = QString());
