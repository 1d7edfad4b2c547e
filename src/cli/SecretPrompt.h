#pragma once
// Where passwords come from: typed on the terminal without echo, or, when standard input is not a
// terminal, one line of it each, in the order a terminal would ask for them. Never from an argument or
// the environment.
#include "crypto/SecretText.h"

#include <QString>

class SecretPrompt
{
public:
    SecretPrompt();

    // True when standard input is a terminal.
    bool isInteractive() const { return m_interactive; }

    // One password. The prompt is shown on the terminal only. Fails when the input ends first.
    SecretText ask(const QString& prompt);

    // A password that is being set: on a terminal it is typed twice and must match; a script gives it once.
    SecretText askTwice(const QString& prompt, const QString& repeatPrompt);
    // A new master password: asked as askTwice does, of 4 to 16 characters, the lengths the login accepts.
    SecretText askNewMaster(const QString& prompt, const QString& repeatPrompt);

private:
    SecretText readLine();

    bool m_interactive;
};
