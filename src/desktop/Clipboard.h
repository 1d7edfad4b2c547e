#pragma once
// The system clipboard.
#include <QString>

// The MIME type that tells clipboard managers and history tools not to keep an entry, and its value.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";
inline constexpr char kPasswordManagerHintSecret[] = "secret";

// Empties the clipboard.
void clearClipboard();

// Puts text on the clipboard as plain text. A secret (a password or key) also carries the password-manager
// hint, so clipboard managers neither show nor store it.
void setClipboardText(const QString& text, bool secret);
