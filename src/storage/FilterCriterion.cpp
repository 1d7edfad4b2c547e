#include "storage/FilterCriterion.h"

#include "storage/EngineError.h"

namespace {
class CriterionParser
{
public:
    explicit CriterionParser(const QString& text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    QString word()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('_')))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    QString fieldName()
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('[')) {
            const qsizetype close = m_text.indexOf(QLatin1Char(']'), m_pos + 1);
            if (close < 0)
                fail("a [ is not closed");
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
            m_pos = close + 1;
            return name;
        }
        return word();
    }

    QString quoted()
    {
        skipBlanks();
        if (m_pos >= m_text.size() || m_text.at(m_pos) != QLatin1Char('\''))
            fail("the pattern must be in single quotes");
        QString value;
        for (++m_pos; m_pos < m_text.size(); ++m_pos) {
            const QChar c = m_text.at(m_pos);
            if (c != QLatin1Char('\'')) {
                value += c;
            } else if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('\'')) {
                value += c;
                ++m_pos;
            } else {
                ++m_pos;
                return value;
            }
        }
        fail("a quote is not closed");
    }

    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }

    // The description names the fault and where it is, never the criterion itself: it may hold a part
    // of a record.
    [[noreturn]] void fail(const char* what) const
    {
        throw RuntimeError(EngineErr::BadArguments,
                           QStringLiteral("The filter criterion is not valid: ") + QString::fromUtf8(what) +
                               QStringLiteral(" (at character ") + QString::number(m_pos + 1) + QStringLiteral(")."),
                           QStringLiteral("Lockwell"));
    }

private:
    const QString& m_text;
    qsizetype m_pos = 0;
};

bool isWildcard(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('%');
}
} // namespace

FilterCriterion FilterCriterion::parse(const QString& criterion)
{
    BW_TRACE("FilterCriterion.cpp", "Function parse");
    CriterionParser parser(criterion);
    FilterCriterion result;
    const QString field = parser.fieldName();
    if (field.isEmpty())
        parser.fail("a field name is missing");
    result.m_column = DataFileFormat::columnIndex(field);
    if (result.m_column < 0)
        parser.fail("there is no field of that name");
    parser.skipBlanks();
    if (parser.word().compare(QLatin1String("LIKE"), Qt::CaseInsensitive) != 0)
        parser.fail("LIKE is missing");
    const QString pattern = parser.quoted();
    if (!parser.atEnd())
        parser.fail("unexpected text after the pattern");

    QString piece;
    for (const QChar c : pattern.toCaseFolded()) {
        if (isWildcard(c)) {
            result.m_pieces << piece;
            piece.clear();
            result.m_hasWildcard = true;
        } else {
            piece += c;
        }
    }
    result.m_pieces << piece;
    result.m_anchoredStart = pattern.isEmpty() || !isWildcard(pattern.front());
    result.m_anchoredEnd = pattern.isEmpty() || !isWildcard(pattern.back());
    const QString& first = result.m_pieces.front();
    if (result.m_hasWildcard && result.m_anchoredStart && !first.isEmpty() && first.size() <= 4) {
        result.m_prefixLength = first.size();
        result.m_prefixBits = FoldedColumn::prefixOf(first) >> (64 - 16 * first.size());
        bool restIsWildcards = true;
        for (qsizetype i = 1; i < result.m_pieces.size(); ++i)
            restIsWildcards = restIsWildcards && result.m_pieces.at(i).isEmpty();
        result.m_prefixDecides = restIsWildcards;
    }
    return result;
}

bool FilterCriterion::matchesFolded(QStringView text) const
{
    // Runs once per record of a filter: no trace entry, no allocation.
    if (!m_hasWildcard)
        return text == m_pieces.front();
    const qsizetype last = m_pieces.size() - 1;
    qsizetype pos = 0;
    for (qsizetype i = 0; i <= last; ++i) {
        const QString& piece = m_pieces.at(i);
        if (i == 0 && m_anchoredStart) {
            if (!text.startsWith(piece))
                return false;
            pos = piece.size();
        } else if (i == last && m_anchoredEnd) {
            return text.size() - piece.size() >= pos && text.endsWith(piece);
        } else if (!piece.isEmpty()) {
            const qsizetype at = text.indexOf(piece, pos);
            if (at < 0)
                return false;
            pos = at + piece.size();
        }
    }
    return true;
}
