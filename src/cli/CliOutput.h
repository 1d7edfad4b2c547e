#pragma once
// What the commands print: results on standard output, failures on standard error, both in UTF-8.
#include <QString>

// Writes text and a line break to standard output.
void printLine(const QString& text);
// Writes text as it is to standard output.
void printText(const QString& text);
// Writes "lockwell-cli: " and the message, and a line break, to standard error.
void printError(const QString& message);
// Writes text as it is to standard error (prompts, lists that go with an error).
void printToError(const QString& text);
