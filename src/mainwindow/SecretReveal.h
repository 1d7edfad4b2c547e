#pragma once
// The record fields on the clipboard and the masks of the five secret boxes (txtPW, txtKey1..txtKey4).
//
// A copy command puts a field on the clipboard as it is. A reveal command unmasks one secret box, puts
// its text on the clipboard marked as a secret, and arms Timer1, which masks all five again PeekTime
// seconds later; one timer serves all five, so a second reveal gives the full time again from then.
// Nothing else in the window writes a record field to the clipboard or touches the masks.
//
// A secret on the clipboard is this object's to take back: when its reveal ends, at the latest
// kLongestOnClipboardMs after it was put there, and whenever the window asks (it locks, the data file
// closes, the window goes). It is taken back from the clipboard and the selection only where each
// still holds exactly that copy; a field that is no secret is left where it is.
#include "desktop/Clipboard.h"

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

class QLineEdit;

class SecretReveal : public QObject
{
    Q_OBJECT

public:
    // The longest a secret stays on the clipboard: the longest reveal there is, so that no reveal is cut
    // short, while a reveal the options dialog stopped still ends there.
    static constexpr int kLongestOnClipboardMs = 32 * 1000;

    // The secret boxes start masked, one asterisk per character.
    explicit SecretReveal(const QList<QLineEdit*>& secrets, QObject* parent = nullptr);
    // Takes back a secret still on the clipboard.
    ~SecretReveal() override;

    // The clipboard emptied, then the text put on it.
    void copy(const QString& text);
    // The clipboard emptied; then, unless mayReveal() refuses (the window is locked and the password was
    // not given again), the box unmasked, its text put on the clipboard as a secret and Timer1 armed for
    // PeekTime seconds.
    void reveal(QLineEdit* box, const std::function<bool()>& mayReveal);
    // Timer1 fired: the timer stops, all five boxes are masked and the secret leaves the clipboard.
    void endReveal();
    // After the options dialog: the timer stops; all five boxes plain while PeekOn is off (until the next
    // reveal ends), masked while it is on.
    void applyPeekOption();
    // The secret put on the clipboard taken back, where the clipboard and the selection still hold it.
    void withdrawSecret();

    // Runs from a reveal until it ends; the window runs Timer1_Timer, and with it endReveal(), when it fires.
    const QTimer& Timer1() const { return m_timer; }

private:
    void stopTimer();
    void maskAll(bool masked);

    QList<QLineEdit*> m_secrets;
    QTimer m_timer;
    QTimer m_deadline;
    ClipboardEntry m_secretOnClipboard;
};
