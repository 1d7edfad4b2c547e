#include "login/LoginProcedure.h"

#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "crypto/CodePage.h"
#include "crypto/SecureWipe.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"
#include "login/CapsLockSeam.h"
#include "login/PasswordVerifier.h"

#include <utility>

namespace {
constexpr const char* kModule = "LoginProcedure.cpp";
constexpr int kMinLength = 4;

const QString kTitle = QStringLiteral("Login");
const QString kShortUserName = QStringLiteral("User Name length must be between\r\n4 - 16 characters, try again!");
const QString kShortPassword = QStringLiteral("Password length must be between\r\n4 - 16 characters, try again!");
// A "\" or "/" would let a name reach into another user's settings ("BOB\SETTINGS").
const QString kNameWithSeparator = QStringLiteral("User Name must not contain \"\\\" or \"/\", try again!");
// The settings and the cipher work on Western European (Windows-1252) characters only.
const QString kNameOutsideCodePage =
    QStringLiteral("User Name may only contain Western European letters,\r\ndigits and signs, try again!");
const QString kPasswordOutsideCodePage =
    QStringLiteral("Password may only contain Western European letters,\r\ndigits and signs, try again!");
const QString kMismatch = QStringLiteral("Passwords do not match, try again!");
const QString kInvalidPassword = QStringLiteral("Invalid Password, try again!");
const QString kCapsLockWarning = QStringLiteral("\r\n\r\nBEWARE your CAPS key is ON!");

void inform(const QString& text)
{
    BW_TRACE(kModule, "Sub inform");
    MsgBox(text, vb::vbOKOnly | vb::vbInformation, kTitle);
}

// A wrong or mistyped password: the likeliest cause, Caps Lock, is named when it is on.
void warnWrongPassword(const QString& text)
{
    BW_TRACE(kModule, "Sub warnWrongPassword");
    MsgBox(loginCapsLockOn() ? text + kCapsLockWarning : text, vb::vbOKOnly | vb::vbExclamation, kTitle);
}
} // namespace

LoginProcedure::LoginProcedure(AskConfirmation askConfirmation) : m_askConfirmation(std::move(askConfirmation)) {}

bool LoginProcedure::attempt(const QString& typedUserName, const SecretText& password)
{
    BW_TRACE(kModule, "Function attempt");
    const QString user = upperCaseUserName(typedUserName);
    if (!acceptableNameAndPassword(user, password))
        return false;

    SecretText verifier = SecretText::take(ProgramSettings::verifierOf(user));
    if (verifier.isEmpty()) {
        if (!registerNewUser(user, password, verifier))
            return false;
    } else if (!passwordMatches(password, verifier)) {
        return false;
    }

    ProgramSettings::setLastLoginName(user);
    LoginValues::setUserName(user);
    LoginValues::setMasterPassword(password.copy());
    LoginValues::setHeldVerifier(std::move(verifier));
    return true;
}

bool LoginProcedure::acceptableNameAndPassword(const QString& user, const SecretText& password)
{
    BW_TRACE(kModule, "Function acceptableNameAndPassword");
    if (user.size() < kMinLength) {
        inform(kShortUserName);
        return false;
    }
    if (password.size() < kMinLength) {
        inform(kShortPassword);
        return false;
    }
    if (!isValidUserName(user)) {
        inform(kNameWithSeparator);
        return false;
    }
    if (!IsCodePageText(user)) {
        inform(kNameOutsideCodePage);
        return false;
    }
    if (!IsCodePageText(password.view())) {
        inform(kPasswordOutsideCodePage);
        return false;
    }
    return true;
}

bool LoginProcedure::registerNewUser(const QString& user, const SecretText& password, SecretText& verifier)
{
    BW_TRACE(kModule, "Function registerNewUser");
    QString confirmation;
    if (!m_askConfirmation(confirmation))
        return false;
    // Case counts: "Secret" and "SECRET" are two passwords.
    const bool confirmed = !confirmation.isEmpty() && confirmation == password.view();
    secureWipe(confirmation);
    if (!confirmed) {
        warnWrongPassword(kMismatch);
        return false;
    }
    verifier = keyAndVerifierOf(password);
    ProgramSettings::setVerifierOf(user, verifier.exposed().text());
    return true;
}

bool LoginProcedure::passwordMatches(const SecretText& password, const SecretText& verifier)
{
    BW_TRACE(kModule, "Function passwordMatches");
    const bool matches = keyAndVerifierOf(password) == verifier;
    if (!matches)
        warnWrongPassword(kInvalidPassword);
    return matches;
}
