// The record report: the printed text of a filtered, sorted record set read back from a PDF file.
#include "DataFileFixtures.h"
#include "storage/DataFileFormat.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"
#include "tools/RecordReport.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QStringList kFieldsOfRecord = {"Account",   "URL",  "IDtext",    "Password", "HINT",      "Key1_Name", "Key1",
                                     "Key2_Name", "Key2", "Key3_Name", "Key3",     "Key4_Name", "Key4",      "Info"};

// A record whose every field names the account and the column, so the printed text shows which is which
// (key names short enough for their narrow boxes).
fixtures::Record recordFor(const QString& account)
{
    const QString name = account.section(QLatin1Char(' '), -1).toLower();
    fixtures::Record record{account};
    for (int column = 1; column < DataFileFormat::ColumnCount; ++column) {
        const QString field = kFieldsOfRecord[column].toLower();
        record << name + QLatin1Char('-') + (field.endsWith(QLatin1String("_name")) ? field.left(4) + 'n' : field);
    }
    return record;
}

QString pdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        qFatal("pdftotext (poppler-utils) is needed to read the report back");
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("pdftotext failed");
    return QString::fromUtf8(process.readAllStandardOutput());
}

void printToPdf(const RecordReport& report, const QString& path, QPageSize::PageSizeId size = QPageSize::Letter)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(size));
    report.print(printer);
}
} // namespace

class TestRecordReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void pdfHoldsTheFilteredRecordsInGridOrder()
    {
        const QString path = m_dir.filePath(QStringLiteral("report.lwd"));
        QList<fixtures::Record> records;
        for (const char* name : {"Kilo", "Bank Alpha", "Mail", "Bank Delta", "Bank Charlie", "Shop", "Bank Echo",
                                 "Bank Bravo", "Bank Golf", "Bank Foxtrot", "Forum"})
            records << recordFor(QString::fromLatin1(name));
        fixtures::makePlainDataFile(path, records);
        Recordset recordset(SqlCipherDatabase::open(path, SecretText(), SqlCipherDatabase::Access::ReadOnly));
        recordset.setFilter(QStringLiteral("Account LIKE 'bank*'"));
        recordset.setSort(QStringLiteral("Account DESC"));
        const QStringList expected = {"Bank Golf",    "Bank Foxtrot", "Bank Echo", "Bank Delta",
                                      "Bank Charlie", "Bank Bravo",   "Bank Alpha"};

        const RecordReport report(RecordReport::listedRows(recordset), QDate(2024, 3, 5));
        const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
        printToPdf(report, pdf);
        const QString text = pdfText(pdf);

        QVERIFY(text.contains(QStringLiteral("Accounts Report")));
        QVERIFY(text.contains(report.dateText()));
        // Every field of every listed record, in the grid's order, block after block.
        qsizetype at = 0;
        for (const QString& account : expected) {
            const fixtures::Record record = recordFor(account);
            for (const char* label :
                 {"Account:", "URL:", "Login ID:", "Password:", "Hint:", "Info:", "Key1:", "Text1:", "Key4:", "Text4:"})
                QVERIFY2(text.indexOf(QString::fromLatin1(label), at) >= 0, label);
            for (int column : {0, 1, 2, 3, 4, 13, 5, 6, 7, 8, 9, 10, 11, 12}) {
                const qsizetype found = text.indexOf(record[column], at);
                QVERIFY2(found >= 0, qPrintable(account + QLatin1Char('/') + kFieldsOfRecord[column]));
                at = found + record[column].size();
            }
        }
        for (const char* left : {"Kilo", "Mail", "Shop", "Forum"})
            QVERIFY2(!text.contains(QString::fromLatin1(left)), left);

        // Seven records on Letter: three pages, each numbered against the total.
        QCOMPARE(report.pageCount(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, {})), 3);
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 3);
        for (int page = 1; page <= 3; ++page)
            QVERIFY2(pages[page - 1].contains(QStringLiteral("Page %1 of 3").arg(page)), qPrintable(pages[page - 1]));
        QVERIFY(pages[2].contains(QRegularExpression(QStringLiteral("Total Accounts:\\s+7\\b"))));
        QVERIFY(!pages[0].contains(QStringLiteral("Total Accounts:")));
    }
};

QTEST_MAIN(TestRecordReport)
#include "test_RecordReport.moc"
