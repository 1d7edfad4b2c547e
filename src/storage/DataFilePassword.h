#pragma once
// The data file password: the text the engine checks when a data file is opened. Every program that opens
// data files makes it here, from what its login holds.
#include "crypto/SecretText.h"

#include <QString>

// The text appended to a master password to make a data file password.
inline const QString& dataFilePasswordSuffix()
{
    static const QString suffix = QStringLiteral("K7352");
    return suffix;
}

// A master password followed by the suffix: the data file password of the files that user makes, and of a
// password given for Open With Password.
SecretText dataFilePasswordOf(const SecretText& masterPassword);

// The data file password of a login: the master password deciphered from the held verifier under the key in
// force, followed by the suffix.
SecretText loginDataFilePassword(const SecretText& heldVerifier);
