#include "exchange/RecordFitting.h"

#include <QUrl>

namespace {
using namespace DataFileFormat;

const std::array<Column, 4> kKeyLabels = {Key1_Name, Key2_Name, Key3_Name, Key4_Name};

bool isSecret(int column)
{
    return column == Password || column == Key1 || column == Key2 || column == Key3 || column == Key4;
}

bool isMultiLine(int column)
{
    return column == HINT || column == Info;
}

// The name a change note gives a box.
QString boxName(int column)
{
    switch (column) {
    case Account:
        return QStringLiteral("the account name");
    case URL:
        return QStringLiteral("the URL");
    case IDtext:
        return QStringLiteral("the user ID");
    case Password:
        return QStringLiteral("the password");
    case HINT:
        return QStringLiteral("the hint");
    case Info:
        return QStringLiteral("the notes");
    default:
        break;
    }
    const int key = (column - Key1_Name) / 2 + 1;
    return (column - Key1_Name) % 2 == 0 ? QStringLiteral("the label of key %1").arg(key)
                                         : QStringLiteral("key %1").arg(key);
}

// Every line break (CR LF, CR or LF) as CR LF.
QString withCrLf(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\r\n");
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

// The longest start of text that fits in limit characters as the box counts them, without splitting a
// CR LF or a character outside the basic plane.
qsizetype fittingPrefix(int column, const QString& text, int limit)
{
    qsizetype i = 0;
    int counted = 0;
    while (i < text.size() && counted < limit) {
        qsizetype step = 1;
        if (column == Info && text.at(i) == QLatin1Char('\r') && i + 1 < text.size() &&
            text.at(i + 1) == QLatin1Char('\n'))
            step = 2;
        else if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            step = 2;
        if (step == 2 && column != Info && counted + 2 > limit)
            break;
        counted += (column == Info && step == 2 && text.at(i) == QLatin1Char('\r')) ? 1 : int(step);
        i += step;
    }
    return i;
}
} // namespace

int RecordFitting::boxLength(int column, QStringView text)
{
    if (column != Info)
        return int(text.size());
    return int(text.size() - text.count(QLatin1String("\r\n")));
}

QString RecordFitting::hostOf(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QUrl url(trimmed, QUrl::TolerantMode);
    if (url.host().isEmpty())
        url = QUrl(QStringLiteral("https://") + trimmed, QUrl::TolerantMode);
    return url.host();
}

void RecordFitting::addExtra(const QString& label, const QString& value)
{
    if (!value.isEmpty())
        m_extras.append({label, value});
}

void RecordFitting::finish()
{
    for (int column = 0; column < ColumnCount; ++column) {
        if (column != Info)
            fitOneLine(column);
    }
    // Extras: a free key when label and value fit, else a line of the notes.
    for (const auto& [label, value] : m_extras) {
        bool placed = false;
        const QString oneLine = QString(value).replace(QLatin1String("\r\n"), QLatin1String(" "));
        const bool fits = !oneLine.contains(QLatin1Char('\n')) && !oneLine.contains(QLatin1Char('\r')) &&
                          label.size() <= kColumnLengths[Key1_Name] && value.size() <= kColumnLengths[Key1];
        for (Column keyLabel : kKeyLabels) {
            if (!fits)
                break;
            if (m_fields[keyLabel].isEmpty() && m_fields[keyLabel + 1].isEmpty()) {
                m_fields[keyLabel] = label;
                m_fields[keyLabel + 1] = value;
                placed = true;
                break;
            }
        }
        if (!placed)
            appendToNotes(label + QStringLiteral(": ") + value);
    }
    if (m_fields[Account].trimmed().isEmpty()) {
        QString name = hostOf(m_fields[URL]);
        if (name.isEmpty())
            name = m_fields[IDtext];
        m_fields[Account] = name.left(kColumnLengths[Account]);
        m_notes.append(QStringLiteral("it had no name and is named \"%1\"").arg(m_fields[Account]));
    }
    fitNotes();
}

void RecordFitting::fitOneLine(int column)
{
    QString& value = m_fields[size_t(column)];
    if (!isMultiLine(column) && (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))) {
        if (!m_asStored) {
            value.replace(QLatin1String("\r\n"), QLatin1String(" "));
            value.replace(QLatin1Char('\r'), QLatin1Char(' '));
            value.replace(QLatin1Char('\n'), QLatin1Char(' '));
            m_notes.append(QStringLiteral("line breaks in %1 became blanks").arg(boxName(column)));
        }
    } else if (column == HINT && !m_asStored) {
        value = withCrLf(value);
    }
    if (boxLength(column, value) > kColumnLengths[size_t(column)])
        cut(column);
}

void RecordFitting::cut(int column)
{
    QString& value = m_fields[size_t(column)];
    const int before = boxLength(column, value);
    const int limit = kColumnLengths[size_t(column)];
    const QString whole = value;
    value.truncate(fittingPrefix(column, value, limit));
    if (column == Info) {
        m_notes.append(QStringLiteral("the notes were cut from %1 to %2 characters").arg(before).arg(limit));
    } else if (isSecret(column)) {
        m_notes.append(QStringLiteral("%1 was cut from %2 to %3 characters: its end is only in the file imported")
                           .arg(boxName(column))
                           .arg(before)
                           .arg(limit));
    } else {
        appendToNotes(QStringLiteral("%1 (whole): %2").arg(QString(boxName(column)).remove(0, 4), whole));
        m_notes.append(QStringLiteral("%1 was cut from %2 to %3 characters; the notes keep it whole")
                           .arg(boxName(column))
                           .arg(before)
                           .arg(limit));
    }
}

void RecordFitting::appendToNotes(const QString& line)
{
    m_notesLines.append(line);
}

void RecordFitting::fitNotes()
{
    QString& notes = m_fields[Info];
    if (!m_asStored)
        notes = withCrLf(notes);
    if (!m_notesLines.isEmpty()) {
        if (!notes.isEmpty())
            notes += QLatin1String("\r\n");
        notes += withCrLf(m_notesLines.join(QLatin1Char('\n')));
    }
    if (boxLength(Info, notes) > kColumnLengths[Info])
        cut(Info);
}
