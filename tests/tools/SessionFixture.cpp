#include "SessionFixture.h"

#include "app/LoginValues.h"
#include "app/SettingsStore.h"
#include "crypto/StringCipher.h"

namespace session {

void useSettingsFolder(const QTemporaryDir& home)
{
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
}

void logIn(const QString& user, const QString& password)
{
    SetKey(password);
    const QString verifier = Encrypt(password);
    SettingsStore::write(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"), verifier);
    LoginValues::setUserName(user);
    LoginValues::setMasterPassword(SecretText(password));
    LoginValues::setHeldVerifier(SecretText(verifier));
}

QString storedVerifier(const QString& user)
{
    return SettingsStore::read(QStringLiteral("Accounts\\") + user, QStringLiteral("PW"));
}

bool keyAndVerifierAccept(const QString& password)
{
    return Encrypt(password) == LoginValues::heldVerifier().view();
}

} // namespace session
