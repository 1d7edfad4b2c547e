#pragma once
// The system clipboard and, where there is one (X11), the primary selection: a copy is put on both, and
// a clear empties both.
//
// A secret goes on them marked for clipboard managers (see kSecretHints), held in a secret buffer of its
// own that is wiped once neither of them holds it any longer. What a copy put there can be taken back
// later: each of the two is emptied only while it still holds exactly that copy, so whatever was copied
// since, by the user or by Lockwell, is never touched.
#include "crypto/SecretText.h"

#include <QMimeData>
#include <QPointer>
#include <QString>

// The MIME type that tells clipboard managers and history tools not to keep an entry, and its value.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";
inline constexpr char kPasswordManagerHintSecret[] = "secret";

// Every mark a secret carries, and its value: the password-manager hint, which Klipper, GPaste, CopyQ 8
// and the wl-clipboard tools honour (none of them keeps the entry), and CopyQ's older "hidden" mark.
struct ClipboardHint
{
    const char* format;
    const char* value;
};
inline constexpr ClipboardHint kSecretHints[] = {{kPasswordManagerHint, kPasswordManagerHintSecret},
                                                 {"application/x-copyq-hidden", "1"}};

// What one copy put on the clipboard and on the selection. Each side lives as long as the clipboard
// keeps it: once anything else is copied there, that side is gone.
class ClipboardEntry
{
public:
    ClipboardEntry() = default;

    // Empties the clipboard and the selection where each still holds exactly this copy, and forgets it.
    void takeBack();

private:
    friend ClipboardEntry setClipboardText(const QString& text);
    friend ClipboardEntry setClipboardSecret(SecretText secret);
    ClipboardEntry(QMimeData* clipboard, QMimeData* selection) : m_clipboard(clipboard), m_selection(selection) {}

    QPointer<QMimeData> m_clipboard;
    QPointer<QMimeData> m_selection;
};

// Empties the clipboard and the selection.
void clearClipboard();

// Puts plain text on the clipboard and the selection.
ClipboardEntry setClipboardText(const QString& text);
// Puts a secret on them, marked with kSecretHints.
ClipboardEntry setClipboardSecret(SecretText secret);
