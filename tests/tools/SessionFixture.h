#pragma once
// A logged-in session for the tests: a fresh settings store in a folder of its own and a user whose
// password verifier is stored, held and keyed as a successful login leaves them.
#include <QString>
#include <QTemporaryDir>

namespace session {

// Points the settings store at `home`/config (nothing is written yet).
void useSettingsFolder(const QTemporaryDir& home);

// Logs `user` in with `password`: key in force, stored and held verifier, master password in clear.
void logIn(const QString& user, const QString& password);

// The verifier stored for the user, read straight from the store.
QString storedVerifier(const QString& user);

// True when `password` enciphers to the held verifier under the key in force, which is what the login
// and the master password change ask of a password.
bool keyAndVerifierAccept(const QString& password);

} // namespace session
