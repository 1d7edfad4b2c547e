#pragma once
// The text forms in which settings are stored, and the number readers the string table uses.
//
// Every reader is locale-independent: a value written under one locale reads back the same under
// any other. A text a reader cannot take throws RuntimeError(13, "Type mismatch"); a number outside
// the target type throws RuntimeError(6, "Overflow").
#include <QString>

namespace TextForms {

constexpr int kOverflow = 6;

// Boolean: written "True" / "False". Read: "true" / "false" in any letter case, or any number
// (0 is false, every other number true, so "-1" is true).
QString fromBoolean(bool value);
bool toBoolean(const QString& text);

// 16-bit signed integer: decimal digits, with a leading "-" when negative. A fraction is rounded
// to the nearest integer, halves to the even one.
QString fromInteger(qint16 value);
qint16 toInteger(const QString& text);

// 32-bit float: at most 7 significant digits, "." as the decimal separator. Reading also takes a
// lone "," as the decimal separator ("1000,5"), the form a comma locale writes.
QString fromSingle(float value);
float toSingle(const QString& text);

// True when the whole text, blanks around it aside, is one decimal number (sign, digits, optional
// fraction and exponent); the number goes to *value.
bool parseNumber(const QString& text, double* value);

// The number a text starts with, blanks, tabs and line feeds anywhere being skipped; 0 when the
// text does not start with a number ("12abc" is 12, "abc" is 0).
double leadingNumber(const QString& text);

// Rounds to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

} // namespace TextForms
