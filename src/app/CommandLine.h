#pragma once
// The command line: which data file the program was started with.
//
// Only tabs separate arguments; a blank is an ordinary character, so a path with blanks is one
// argument. The command text is the program's arguments joined by single blanks.
#include <QString>
#include <QStringList>

// Splits the command text. Element 0 is always empty; elements 1..n hold the arguments, at most
// MaxArgs of them (the walk stops at the first argument past that).
QStringList GetCommandLine(const QString& commandText, int MaxArgs = 10);

// The program's arguments (without the program name) joined by single blanks.
QString commandTextFromArguments(const QStringList& args);

// The data file that the split command line names: elements 1..n joined with nothing between them,
// every double quote turned into a blank, blanks trimmed. Empty when it names none.
QString dataFileFromCommandLine(const QStringList& splitArgs);
