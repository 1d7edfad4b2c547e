// The LIKE patterns of the filter and find language, matched without regard to letter case.
#include "datafile/FilterCriterion.h"

#include <QTest>

class TestFilterCriterion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void patternsMatch_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("begins") << "ab*"
                                << "ABC" << true;
        QTest::newRow("begins, too short") << "abc*"
                                           << "ab" << false;
        QTest::newRow("contains") << "*oo*"
                                  << "Google" << true;
        QTest::newRow("contains, absent") << "*xyz*"
                                          << "Google" << false;
        QTest::newRow("ends") << "*.ORG"
                              << "example.org" << true;
        QTest::newRow("exact, other case") << "Bank"
                                           << "bANK" << true;
        QTest::newRow("exact, longer text") << "Bank"
                                            << "Banking" << false;
        QTest::newRow("percent as wildcard") << "b%k"
                                             << "Bank" << true;
        QTest::newRow("pieces in order") << "a*b*c"
                                         << "aXbYc" << true;
        QTest::newRow("pieces out of order") << "a*c*b"
                                             << "aXbYc" << false;
        QTest::newRow("pieces may not overlap") << "ab*ba"
                                                << "aba" << false;
        QTest::newRow("star alone") << "*"
                                    << "" << true;
        QTest::newRow("empty pattern, empty text") << ""
                                                   << "" << true;
        QTest::newRow("empty pattern, text") << ""
                                             << "x" << false;
        QTest::newRow("underscore is a letter") << "a_c"
                                                << "abc" << false;
        QTest::newRow("question mark is a letter") << "a?c*"
                                                   << "a?cd" << true;
        QTest::newRow("doubled quote") << "o''b*"
                                       << "O'Brien" << true;
        QTest::newRow("non-ASCII case") << "\u00e4*"
                                        << "\u00c4rger" << true;
    }

    void patternsMatch()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        const FilterCriterion criterion = FilterCriterion::parse(QStringLiteral("URL LIKE '") + pattern + "'");
        QCOMPARE(criterion.matchesText(text), matches);
    }

    void fieldNameAndKeywordInAnyCase()
    {
        QCOMPARE(FilterCriterion::parse(QStringLiteral("  key2_name   like   'x'  ")).column(),
                 int(DataFileFormat::Key2_Name));
        QCOMPARE(FilterCriterion::parse(QStringLiteral("[Info] LIKE'*'")).column(), int(DataFileFormat::Info));
    }
};

QTEST_GUILESS_MAIN(TestFilterCriterion)
#include "tst_FilterCriterion.moc"
