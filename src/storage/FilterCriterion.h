#pragma once
// The record set's filter and find language: one criterion of the form
//     Field LIKE 'pattern'
// The field is one of the fourteen columns (any letter case, optionally in [brackets]), LIKE in any
// letter case, the pattern in single quotes with '' for a quote inside. In the pattern, * and % match
// any run of characters (none included); every other character stands for itself. Text is compared
// without regard to letter case. A criterion that does not parse raises a RuntimeError.
#include "storage/AccountRow.h"
#include "storage/FoldedColumns.h"

#include <QString>
#include <QStringList>

class FilterCriterion
{
public:
    static FilterCriterion parse(const QString& criterion);

    int column() const { return m_column; }
    // The test for a text that is already case-folded (QString::toCaseFolded, see FoldedColumns).
    bool matchesFolded(QStringView folded) const;
    // The test for record `index` of a folded column; "begins with" up to four characters is decided by
    // the packed prefix alone.
    bool matches(const FoldedColumn& column, size_t index) const
    {
        const qsizetype length = m_prefixLength;
        if (length > 0) {
            const QString& text = column.texts[index];
            if (text.size() < length || (column.prefixes[index] >> (64 - 16 * length)) != m_prefixBits)
                return false;
            if (m_prefixDecides)
                return true;
            return matchesFolded(text);
        }
        return matchesFolded(column.texts[index]);
    }

private:
    int m_column = 0;
    // The pattern, case-folded and cut at its wildcards: text must start with the first piece (unless the pattern
    // starts with a wildcard), hold the middle ones in order, and end with the last (unless it ends with one).
    QStringList m_pieces;
    bool m_hasWildcard = false;
    bool m_anchoredStart = true;
    bool m_anchoredEnd = true;
    // A pattern that begins with 1 to 4 plain characters: those characters as a prefix, and whether they
    // are the whole test (the pattern is just them followed by wildcards).
    qsizetype m_prefixLength = 0;
    quint64 m_prefixBits = 0;
    bool m_prefixDecides = false;
};
