#include "storage/FoldedColumns.h"

#include "errortrap/Bulwark.h"

quint64 FoldedColumn::prefixOf(QStringView text)
{
    quint64 prefix = 0;
    for (qsizetype i = 0; i < 4; ++i)
        prefix = (prefix << 16) | (i < text.size() ? text[i].unicode() : 0u);
    return prefix;
}

const FoldedColumn& FoldedColumns::column(int column, const std::vector<AccountRow>& rows)
{
    BW_TRACE("FoldedColumns.cpp", "Function column");
    FoldedColumn& folded = m_columns[size_t(column)];
    if (!m_built[size_t(column)]) {
        folded.texts.clear();
        folded.texts.reserve(rows.size());
        folded.prefixes.clear();
        folded.prefixes.reserve(rows.size());
        for (const AccountRow& row : rows) {
            folded.texts.push_back(row.field(column).toString().toCaseFolded());
            folded.prefixes.push_back(FoldedColumn::prefixOf(folded.texts.back()));
        }
        m_built[size_t(column)] = true;
    }
    return folded;
}

void FoldedColumns::refresh(size_t index, const AccountRow& row)
{
    BW_TRACE("FoldedColumns.cpp", "Sub refresh");
    for (int column = 0; column < DataFileFormat::ColumnCount; ++column) {
        if (!m_built[size_t(column)])
            continue;
        FoldedColumn& folded = m_columns[size_t(column)];
        if (folded.texts.size() <= index) {
            folded.texts.resize(index + 1);
            folded.prefixes.resize(index + 1);
        }
        folded.texts[index] = row.field(column).toString().toCaseFolded();
        folded.prefixes[index] = FoldedColumn::prefixOf(folded.texts[index]);
    }
}

void FoldedColumns::clear()
{
    BW_TRACE("FoldedColumns.cpp", "Sub clear");
    for (FoldedColumn& folded : m_columns)
        folded = FoldedColumn();
    m_built.fill(false);
}
