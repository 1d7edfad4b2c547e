#pragma once
// The keys the filter boxes and the grid accept, and the criteria the filters and the jump search with.
#include <QString>

class QKeyEvent;

namespace FilterKeys {

constexpr int kEnter = 13;

// The character code a key press delivers as typed text: 13 for Enter, the code of the first typed
// character otherwise, 0 for a key that types nothing (arrows, function keys, a bare Shift).
int keyAscii(const QKeyEvent& event);

// A digit or an ASCII letter: the only characters a filter box takes, and the ones the grid jumps by.
bool isLetterOrDigit(int keyAscii);

// The filter boxes: Enter and printable characters other than letters and digits are taken away (0);
// editing keys (control characters such as Backspace and Delete) pass unchanged.
int screenFilterKey(int keyAscii);

enum class Field { Account, URL };

// "Account LIKE 'abc*'" / "URL LIKE 'abc*'": the field begins with the text.
QString beginsCriterion(Field field, const QString& text);
// "Account LIKE '*abc*'" / "URL LIKE '*abc*'": the field contains the text.
QString containsCriterion(Field field, const QString& text);
// "Account LIKE 'k*'": the account name begins with the typed character.
QString jumpCriterion(QChar typed);

} // namespace FilterKeys
