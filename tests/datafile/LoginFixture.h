#pragma once
// Logs a user in for the data file tests: user name, master password, key in force and held verifier,
// as a successful login leaves them.
#include <QString>

namespace fixtures {
void logIn(const QString& userName, const QString& masterPassword);
} // namespace fixtures
