#include "storage/SortOrder.h"

#include "storage/EngineError.h"

#include <algorithm>

namespace {
[[noreturn]] void badSort(const char* what, int number = EngineErr::BadArguments)
{
    throw RuntimeError(number,
                       QStringLiteral("The sort order is not valid: ") + QString::fromUtf8(what) + QLatin1Char('.'),
                       QStringLiteral("Lockwell"));
}
} // namespace

SortOrder SortOrder::parse(const QString& sort)
{
    BW_TRACE("SortOrder.cpp", "Function parse");
    SortOrder order;
    if (sort.trimmed().isEmpty())
        return order;
    const QStringList parts = sort.split(QLatin1Char(','));
    for (const QString& part : parts) {
        QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words.size() > 2)
            badSort("each key is a field name, optionally followed by ASC or DESC");
        QString name = words.front();
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        Key key{DataFileFormat::columnIndex(name), false};
        if (key.column < 0)
            badSort("there is no field of that name", EngineErr::ItemNotFound);
        if (words.size() == 2) {
            if (words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
                key.descending = true;
            else if (words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) != 0)
                badSort("a direction is ASC or DESC");
        }
        order.m_keys.push_back(key);
    }
    return order;
}

void SortOrder::apply(std::vector<int>& order, const std::vector<AccountRow>& rows, FoldedColumns& folded) const
{
    BW_TRACE("SortOrder.cpp", "Sub apply");
    if (m_keys.empty())
        return;
    struct FoldedKey
    {
        const FoldedColumn* column;
        bool descending;
    };
    std::vector<FoldedKey> keys;
    for (const Key& key : m_keys)
        keys.push_back({&folded.column(key.column, rows), key.descending});
    // The indexes come in file order, so the index breaks ties the way a stable sort would.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        for (const FoldedKey& key : keys) {
            const quint64 pa = key.column->prefixes[size_t(a)];
            const quint64 pb = key.column->prefixes[size_t(b)];
            int c = pa < pb ? -1 : (pa > pb ? 1 : 0);
            if (c == 0)
                c = QStringView(key.column->texts[size_t(a)]).compare(key.column->texts[size_t(b)]);
            if (c != 0)
                return key.descending ? c > 0 : c < 0;
        }
        return a < b;
    });
}
