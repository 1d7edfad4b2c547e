#pragma once
// The login's use of the string cipher, kept in a file of its own: the cipher's Encrypt() and the
// program-wide option variable Encrypt cannot be seen from one file.
#include "crypto/SecretText.h"

// Makes the password the key in force and returns its verifier: the password enciphered under itself.
// The password must be code-page text.
SecretText keyAndVerifierOf(const SecretText& password);
