// The LIKE patterns of the filter and find language, matched without regard to letter case.
#include "storage/FilterCriterion.h"

#include <QTest>

namespace {
void row(const char* name, const char* pattern, const char* text, bool matches)
{
    QTest::newRow(name) << QString::fromUtf8(pattern) << QString::fromUtf8(text) << matches;
}
} // namespace

class TestFilterCriterion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void patternsMatch_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        row("exact, other case", "Bank", "bANK", true);
        row("exact, longer text", "Bank", "Banking", false);
        row("pieces in order", "a*b*c", "aXbYc", true);
        row("pieces out of order", "a*c*b", "aXbYc", false);
        row("pieces may not overlap", "ab*ba", "aba", false);
        row("star alone", "*", "", true);
        row("empty pattern, text", "", "x", false);
        row("begins, four letters", "abcd*", "ABCDE", true);
        row("begins, five letters", "abcde*", "abcdf", false);
        row("begins, then contains", "ab*x*", "ABYYX", true);
        row("underscore is a letter", "a_c", "abc", false);
    }

    void patternsMatch()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        const FilterCriterion criterion = FilterCriterion::parse(QStringLiteral("URL LIKE '") + pattern + "'");
        // Both ways of testing agree: on the folded text, and on a folded column with its packed prefix.
        FoldedColumn column;
        column.texts = {text.toCaseFolded()};
        column.prefixes = {FoldedColumn::prefixOf(column.texts[0])};
        QCOMPARE(criterion.matchesFolded(column.texts[0]), matches);
        QCOMPARE(criterion.matches(column, 0), matches);
    }
};

QTEST_GUILESS_MAIN(TestFilterCriterion)
#include "test_filtercriterion.moc"
