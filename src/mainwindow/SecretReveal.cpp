#include "mainwindow/SecretReveal.h"

#include "app/ProgramSettings.h"
#include "crypto/SecretText.h"
#include "errortrap/Bulwark.h"

#include <QLineEdit>
#include <algorithm>

namespace {
constexpr char kModule[] = "SecretReveal.cpp";

// The longest reveal the reveal timer's interval can hold, in seconds.
constexpr int kLongestPeek = 32;
static_assert(SecretReveal::kLongestOnClipboardMs == kLongestPeek * 1000, "no reveal outlasts its clipboard");

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
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &SecretReveal::withdrawSecret);
    for (QLineEdit* secret : m_secrets)
        secret->setStyleSheet(QString::fromLatin1(kSecretBoxStyle));
    maskAll(true);
}

SecretReveal::~SecretReveal()
{
    withdrawSecret();
}

void SecretReveal::copy(const QString& text)
{
    BW_TRACE(kModule, "Sub copy");
    clearClipboard();
    withdrawSecret(); // the clear took a secret with it; its deadline goes too
    setClipboardText(text);
}

void SecretReveal::reveal(QLineEdit* box, const std::function<bool()>& mayReveal)
{
    BW_TRACE(kModule, "Sub reveal");
    clearClipboard();
    withdrawSecret();
    if (!mayReveal())
        return;
    setMasked(box, false);
    // box->text() shares the box's own buffer; the clipboard's copy lives in a secret buffer.
    m_secretOnClipboard = setClipboardSecret(SecretText(box->text()));
    m_deadline.start(kLongestOnClipboardMs);
    // Starting the timer again counts the full time from now.
    const int seconds = std::clamp<int>(Options.PeekTime, 1, kLongestPeek);
    m_timer.start(seconds * 1000);
}

void SecretReveal::endReveal()
{
    BW_TRACE(kModule, "Sub endReveal");
    stopTimer();
    maskAll(true);
    withdrawSecret();
}

void SecretReveal::withdrawSecret()
{
    BW_TRACE(kModule, "Sub withdrawSecret");
    m_deadline.stop();
    m_secretOnClipboard.takeBack();
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
