#pragma once
// One imported record being made to fit Lockwell's boxes, with a note of everything that had to be
// changed. The rules (docs/IMPORT.md):
//  - a value longer than its box is cut to the box; a cut text that is not a secret is kept whole in the
//    notes (Info) as well, so only a secret that is too long loses its end, and the note says so;
//  - a line break in a one-line box becomes a blank; line breaks in the notes become CR LF, as the window
//    writes them (a source's own format keeps them as they are);
//  - what has no box of its own goes into the first free labelled key, or, when the keys are full or the
//    label or value is longer than a key holds, into the notes as "label: value";
//  - a record without an account name is named after the host of its address, or its user ID.
#include "storage/DataFileFormat.h"

#include <QString>
#include <QStringList>
#include <array>

class RecordFitting
{
public:
    // lineBreaksAsStored: the text is Lockwell's own, whose line breaks are kept exactly.
    explicit RecordFitting(bool lineBreaksAsStored = false) : m_asStored(lineBreaksAsStored) {}

    void set(int column, const QString& value) { m_fields[size_t(column)] = value; }
    const QString& field(int column) const { return m_fields[size_t(column)]; }
    // A value with no box of its own; empty values are left out.
    void addExtra(const QString& label, const QString& value);
    // An entry for the change notes that is not about one field (a short row, say).
    void addNote(const QString& note) { m_notes.append(note); }

    // Applies the rules; afterwards fields() fit and notes() say what was done.
    void finish();
    const std::array<QString, DataFileFormat::ColumnCount>& fields() const { return m_fields; }
    const QStringList& notes() const { return m_notes; }

    // The length of a text as its box counts it (a CR LF of the notes is one character).
    static int boxLength(int column, QStringView text);
    // The host of a web address ("https://login.example.com:8443/x" gives "login.example.com"); empty when
    // the text is not an address with a host.
    static QString hostOf(const QString& address);

private:
    void fitOneLine(int column);
    void fitNotes();
    void cut(int column);
    void appendToNotes(const QString& line);

    bool m_asStored;
    std::array<QString, DataFileFormat::ColumnCount> m_fields;
    QList<std::pair<QString, QString>> m_extras;
    QStringList m_notes;
    QStringList m_notesLines; // whole texts and extras that go to the end of the notes
};
