#pragma once
// The record set's filter and find language: one criterion of the form
//     Field LIKE 'pattern'
// The field is one of the fourteen columns (any letter case, optionally in [brackets]), LIKE in any
// letter case, the pattern in single quotes with '' for a quote inside. In the pattern, * and % match
// any run of characters (none included); every other character stands for itself. Text is compared
// without regard to letter case. A criterion that does not parse raises a RuntimeError.
#include "datafile/AccountRow.h"

#include <QString>
#include <QStringList>

class FilterCriterion
{
public:
    static FilterCriterion parse(const QString& criterion);

    int column() const { return m_column; }
    bool matches(const AccountRow& row) const { return matchesText(row.field(m_column)); }
    bool matchesText(QStringView text) const;

private:
    int m_column = 0;
    // The pattern cut at its wildcards: text must start with the first piece (unless the pattern starts
    // with a wildcard), hold the middle ones in order, and end with the last (unless it ends with one).
    QStringList m_pieces;
    bool m_hasWildcard = false;
    bool m_anchoredStart = true;
    bool m_anchoredEnd = true;
};
