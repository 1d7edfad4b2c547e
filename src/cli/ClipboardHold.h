#pragma once
// The clip command's clipboard: the text goes on it marked as a secret, so that clipboard managers and
// history tools neither show nor keep it, and stays for a number of seconds. Then, or when the program is
// told to end, it is cleared, but only while the clipboard still holds that text: whatever the user has
// copied since is left alone. Needs a QGuiApplication.
#include <QString>

// Returns once the clipboard has been cleared or the user has copied something else. True when it cleared.
bool holdOnClipboard(const QString& text, int seconds);
