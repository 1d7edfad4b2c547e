#pragma once
// How records are printed: the list's lines and objects, one record's fields with the user's key labels,
// and the field names the commands take.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class Recordset;

// Account, URL and user ID separated by tabs; tabs and line breaks inside a field become blanks.
QString listLine(const Recordset& records, int row);
QJsonObject listObject(const Recordset& records, int row);

// "Name: value" lines of every field; the secret fields and the hint read PROTECTED unless shown.
// Continuation lines of the notes are indented by two blanks.
QStringList showLines(const Recordset& records, int row, bool showProtected);
QJsonObject showObject(const Recordset& records, int row, bool showProtected);

// The column of a field named as the clip command names it (password, user, url, hint, key1 to key4);
// -1 for any other name.
int fieldColumn(const QString& name);

// The notes as the window keeps them (lines broken by CR LF) and as a terminal shows them (LF).
QString notesFromTerminal(QString text);
QString notesForTerminal(QString text);
