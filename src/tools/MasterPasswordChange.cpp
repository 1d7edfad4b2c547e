#include "tools/MasterPasswordChange.h"

#include "app/LoginValues.h"
#include "crypto/CodePage.h"
#include "crypto/StringCipher.h"
#include "errortrap/Bulwark.h"

#include <utility>

namespace {
constexpr const char* kModule = "MasterPasswordChange.cpp";
constexpr int kMinLength = 4;

MasterPasswordChange::Result refusal(MasterPasswordChange::Outcome outcome, MasterPasswordChange::Field field,
                                     bool clearConfirm = false)
{
    return {outcome, MasterPasswordChange::informText(outcome), field, clearConfirm};
}
} // namespace

MasterPasswordChange::MasterPasswordChange(StoreVerifier storeVerifier) : m_storeVerifier(std::move(storeVerifier)) {}

MasterPasswordChange::Result MasterPasswordChange::apply(const QString& current, const QString& newPassword,
                                                         const QString& confirmation) const
{
    BW_TRACE(kModule, "Function apply");
    if (current.size() < kMinLength)
        return refusal(Outcome::IncompleteMaster, Field::Master);
    if (!isCurrentMasterPassword(current))
        return refusal(Outcome::InvalidMaster, Field::Master);
    if (newPassword.size() < kMinLength)
        return refusal(Outcome::ShortNew, Field::Change, true);
    if (newPassword.size() > kMaxLength)
        throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
    if (!IsCodePageText(newPassword))
        return refusal(Outcome::NewOutsideCodePage, Field::Change, true);
    if (newPassword != confirmation) // case counts
        return refusal(Outcome::ConfirmMismatch, Field::Confirm);

    replaceMasterPassword(newPassword);
    return {Outcome::Changed, informText(Outcome::Changed), Field::None, false};
}

QString MasterPasswordChange::informText(Outcome outcome)
{
    BW_TRACE(kModule, "Function informText");
    switch (outcome) {
    case Outcome::Changed:
        return QStringLiteral("Master Password successfully changed!");
    case Outcome::IncompleteMaster:
        return QStringLiteral("Incomplete Master P/W entered. Try again.");
    case Outcome::InvalidMaster:
        return QStringLiteral("Invalid Master Password, try again!");
    case Outcome::ShortNew:
        return QStringLiteral("New Password must be at least 4 characters long, try again!");
    case Outcome::NewOutsideCodePage:
        // The cipher and the settings work on Western European (Windows-1252) characters only.
        return QStringLiteral("New Password may only use Western European characters, try again!");
    case Outcome::ConfirmMismatch:
        return QStringLiteral("Password confirmation does not match, try again!");
    }
    return QString();
}

// The current password is right when it enciphers, under the key in force, to the held verifier. A text
// the cipher cannot take is never the master password.
bool MasterPasswordChange::isCurrentMasterPassword(const QString& current) const
{
    BW_TRACE(kModule, "Function isCurrentMasterPassword");
    if (!IsCodePageText(current))
        return false;
    const SecretText& held = LoginValues::heldVerifier();
    return !held.isEmpty() && Encrypt(SecretText(current)) == held;
}

void MasterPasswordChange::replaceMasterPassword(const QString& newPassword) const
{
    BW_TRACE(kModule, "Sub replaceMasterPassword");
    SecretText password(newPassword);
    SetKey(password.view());
    SecretText verifier = Encrypt(password);
    try {
        m_storeVerifier(LoginValues::userName(), verifier.exposed().text());
    } catch (...) {
        // The stored verifier is still the old one: so must the key in force be.
        SetKey(LoginValues::masterPassword().view());
        throw;
    }
    LoginValues::setMasterPassword(std::move(password));
    LoginValues::setHeldVerifier(std::move(verifier));
}
