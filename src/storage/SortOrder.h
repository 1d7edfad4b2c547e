#pragma once
// The record set's sort: one or more "Field [ASC|DESC]" joined by commas, empty for none. Text is
// ordered without regard to letter case, character by character (not by the locale's collation);
// records that compare equal keep the order they had in the data file.
#include "storage/AccountRow.h"
#include "storage/FoldedColumns.h"

#include <QString>
#include <vector>

class SortOrder
{
public:
    static SortOrder parse(const QString& sort);

    bool isEmpty() const { return m_keys.empty(); }
    // Sorts the record indexes in place, comparing the folded texts of the key columns.
    void apply(std::vector<int>& order, const std::vector<AccountRow>& rows, FoldedColumns& folded) const;

private:
    struct Key
    {
        int column;
        bool descending;
    };
    std::vector<Key> m_keys;
};
