#pragma once
// Case-folded copies of the columns that sort, filter and find work on, so that comparing without
// regard to letter case costs a plain comparison. Beside each folded text lie its first four characters
// packed into one number, in one array: most comparisons and most "begins with" tests are decided there
// without touching the text. A column is folded for every record the first time it is needed and kept in
// step with each change afterwards.
#include "storage/AccountRow.h"

#include <QString>
#include <array>
#include <vector>

struct FoldedColumn
{
    std::vector<QString> texts;
    std::vector<quint64> prefixes; // prefixOf(texts[i])

    // The first four UTF-16 units, the first in the highest bits, missing ones as 0: comparing two
    // prefixes compares the texts' beginnings.
    static quint64 prefixOf(QStringView text);
};

class FoldedColumns
{
public:
    // The folded column, one entry per record (indexes as in rows).
    const FoldedColumn& column(int column, const std::vector<AccountRow>& rows);
    // Re-folds one record in the columns already built (a record that was added or changed).
    void refresh(size_t index, const AccountRow& row);
    void clear();

private:
    std::array<FoldedColumn, DataFileFormat::ColumnCount> m_columns;
    std::array<bool, DataFileFormat::ColumnCount> m_built{};
};
