#pragma once
// The single-byte code page through which characters and bytes convert: Windows-1252, with its five
// undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) standing for the control characters of the same number,
// so that every byte is one character and every character of the code page one byte.
#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>

// The character of byte b.
QChar cv_CharFromByte(uint8_t b);

// The byte of character c; false (and `out` untouched) when c is not in the code page.
bool cv_ByteFromChar(QChar c, uint8_t& out);

// The text of `length` bytes, one character each.
QString cv_StringFromBytes(const uint8_t* bytes, int length);

// True when every character of the text is in the code page.
bool IsCodePageText(QStringView text);
