#pragma once
// What the login's OK button does with a user name and a master password: refuses names and passwords
// that cannot be used, registers a user name that has no password verifier yet (after the password has
// been typed a second time), lets a registered user in only with the password that gives the same
// verifier, and on success records the login.
//
// Every refusal is shown in a message box titled "Login"; a refused attempt writes nothing, and there
// is no limit on the number of attempts.
#include "crypto/SecretText.h"

#include <QString>
#include <functional>

class LoginProcedure
{
public:
    // Asks a new user to type the password again. True when the question was answered with OK, the
    // typed text then in `confirmation`; false when it was cancelled.
    using AskConfirmation = std::function<bool(QString& confirmation)>;

    explicit LoginProcedure(AskConfirmation askConfirmation);

    // One attempt with the user name and password as typed (nothing is trimmed; the name counts in
    // upper case). True: the user is in: "LastLogin"/"Name" holds the name in upper case and the login
    // values (user name, master password, held verifier) and the cipher key are set. False: a message
    // has been shown, or the confirmation was cancelled; the caller puts the focus back on the password.
    bool attempt(const QString& typedUserName, const SecretText& password);

private:
    bool acceptableNameAndPassword(const QString& user, const SecretText& password);
    bool registerNewUser(const QString& user, const SecretText& password, SecretText& verifier);
    bool passwordMatches(const SecretText& password, const SecretText& verifier);

    AskConfirmation m_askConfirmation;
};
