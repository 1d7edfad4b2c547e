#include "cli/SecretPrompt.h"

#include "cli/CliFailure.h"
#include "cli/CliOutput.h"

#include <cerrno>
#include <csignal>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr std::size_t kMaxLineBytes = 1024;
constexpr int kMinPasswordLength = 4;
constexpr int kMaxPasswordLength = 16;
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The terminal's settings while echo is off, for the signal handler to put back.
termios g_savedTerminal;

extern "C" void restoreTerminalAndDie(int signalNumber)
{
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Echo off for as long as it lives; the terminal gets its settings back on every way out, a signal
// that ends the program included.
class EchoOff
{
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0)
            return;
        for (const int signalNumber : kEndSignals)
            std::signal(signalNumber, restoreTerminalAndDie);
        termios quiet = g_savedTerminal;
        quiet.c_lflag &= tcflag_t(~ECHO);
        quiet.c_lflag |= ECHONL;
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        for (const int signalNumber : kEndSignals)
            std::signal(signalNumber, SIG_DFL);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool m_active = false;
};
} // namespace

SecretPrompt::SecretPrompt() : m_interactive(isatty(STDIN_FILENO) == 1) {}

SecretText SecretPrompt::ask(const QString& prompt)
{
    if (!m_interactive)
        return readLine();
    printToError(prompt);
    const EchoOff echoOff;
    return readLine();
}

SecretText SecretPrompt::askTwice(const QString& prompt, const QString& repeatPrompt)
{
    SecretText password = ask(prompt);
    if (m_interactive && ask(repeatPrompt) != password)
        fail(QStringLiteral("the two passwords differ"));
    return password;
}

SecretText SecretPrompt::askNewMaster(const QString& prompt, const QString& repeatPrompt)
{
    SecretText password = askTwice(prompt, repeatPrompt);
    if (password.size() < kMinPasswordLength || password.size() > kMaxPasswordLength)
        fail(QStringLiteral("a master password has 4 to 16 characters"));
    return password;
}

SecretText SecretPrompt::readLine()
{
    // Read a byte at a time, straight into a buffer that is wiped: no stream buffer keeps a copy, and
    // the rest of standard input stays for the next question.
    SecretBuffer bytes(kMaxLineBytes);
    char* const line = static_cast<char*>(bytes.data());
    std::size_t length = 0;
    bool gotAny = false;
    for (;;) {
        char c;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        gotAny = true;
        if (c == '\n')
            break;
        if (length == kMaxLineBytes)
            fail(QStringLiteral("the password is too long"));
        line[length++] = c;
    }
    if (!gotAny)
        fail(QStringLiteral("no password given: the input ended"));
    if (length > 0 && line[length - 1] == '\r')
        --length;
    return SecretText::take(QString::fromUtf8(line, qsizetype(length)));
}
