#include "mainwindow/SecretReveal.h"

#include "app/ProgramSettings.h"
#include "desktop/Clipboard.h"
#include "errortrap/Bulwark.h"

#include <QLineEdit>
#include <algorithm>

namespace {
constexpr char kModule[] = "SecretReveal.cpp";

// The longest reveal the reveal timer's interval can hold, in seconds.
constexpr int kLongestPeek = 32;

// A masked box shows one asterisk per character.
const char* const kSecretBoxStyle = "QLineEdit { lineedit-password-character: 42; }";

void setMasked(QLineEdit* box, bool masked)
{
    box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}
} // namespace

SecretReveal::SecretReveal(const QList<QLineEdit*>& secrets, QObject* parent) : QObject(parent), m_secrets(secrets)
{
    BW_TRACE(kModule, "Sub SecretReveal");
    m_timer.setInterval(0);
    for (QLineEdit* secret : m_secrets)
        secret->setStyleSheet(QString::fromLatin1(kSecretBoxStyle));
    maskAll(true);
}

void SecretReveal::copy(const QString& text)
{
    BW_TRACE(kModule, "Sub copy");
    clearClipboard();
    setClipboardText(text, false);
}

void SecretReveal::reveal(QLineEdit* box, const std::function<bool()>& mayReveal)
{
    BW_TRACE(kModule, "Sub reveal");
    clearClipboard();
    if (!mayReveal())
        return;
    setMasked(box, false);
    setClipboardText(box->text(), true);
    // Starting the timer again counts the full time from now.
    const int seconds = std::clamp<int>(Options.PeekTime, 1, kLongestPeek);
    m_timer.start(seconds * 1000);
}

void SecretReveal::endReveal()
{
    BW_TRACE(kModule, "Sub endReveal");
    stopTimer();
    maskAll(true);
}

void SecretReveal::applyPeekOption()
{
    BW_TRACE(kModule, "Sub applyPeekOption");
    stopTimer();
    maskAll(Options.PeekOn);
}

void SecretReveal::stopTimer()
{
    m_timer.stop();
    m_timer.setInterval(0);
}

void SecretReveal::maskAll(bool masked)
{
    for (QLineEdit* secret : std::as_const(m_secrets))
        setMasked(secret, masked);
}
