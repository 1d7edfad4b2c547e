#pragma once
// The login values: who is logged in and the secrets the session runs on. Set by a successful login,
// replaced by a change of master password, wiped when the program ends.
#include "crypto/SecretText.h"

#include <QString>

class LoginValues
{
public:
    // The current user name, always upper case (two names differing only in letter case are one user).
    static QString userName();
    static void setUserName(const QString& name);

    // The master password in clear. The reference stays valid until the next set or wipe.
    static const SecretText& masterPassword();
    static void setMasterPassword(SecretText password);

    // The password verifier read from or written to the settings store.
    static const SecretText& heldVerifier();
    static void setHeldVerifier(SecretText verifier);

    // Overwrites the buffers of all three values with zeros and empties them.
    static void wipe();
};

// The upper-case form of a user name, character by character; a character whose upper-case form
// lies outside the code page (such as the micro sign) keeps its own form.
QString upperCaseUserName(const QString& name);
