// The record report: how bands fall on pages, the printed text of a filtered, sorted record set in a
// PDF file, the printer and preview widths, and the print command's handling of the preview and faults.
#include "DataFileFixtures.h"
#include "desktop/MessageBox.h"
#include "desktop/SuspendOnTop.h"
#include "storage/DataFileFormat.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqlCipherDatabase.h"
#include "tools/PrintPreview.h"
#include "tools/RecordReport.h"
#include "tools/ReportLayout.h"
#include "tools/ReportPrinter.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace ReportLayout;

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

AccountRow rowOf(const QStringList& fields)
{
    AccountRow row;
    for (int column = 0; column < fields.size(); ++column)
        row.setField(column, fields[column]);
    return row;
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

int bandsOf(const Page& page, Band band)
{
    return int(std::count_if(page.cbegin(), page.cend(), [band](const PlacedBand& b) { return b.band == band; }));
}

// What the stand-in preview was given.
struct ShownReport
{
    int calls = 0;
    int records = -1;
    int widthTwips = 0;
    bool suspendedWhileShown = false;
};

// The records window, as far as SuspendOnTop goes.
struct WindowOnTop : SuspendableOnTop
{
    bool suspended = false;
    bool SuspendOnTop() const override { return suspended; }
    void setSuspendOnTop(bool suspend) override { suspended = suspend; }
};
} // namespace

class TestRecordReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    WindowOnTop m_window;

    ShownReport m_shown;

    // Installs a stand-in preview that notes what it got in m_shown, then raises `fault` unless it is 0.
    void standIn(int fault = 0, const QString& description = QString())
    {
        m_shown = ShownReport();
        PrintPreviewSeam::setShow([this, fault, description](QWidget*, const RecordReport& report, int width) {
            ++m_shown.calls;
            m_shown.records = report.recordCount();
            m_shown.widthTwips = width;
            m_shown.suspendedWhileShown = m_window.suspended;
            if (fault)
                throw RuntimeError(fault, description);
        });
    }

private Q_SLOTS:
    void init()
    {
        MessageBoxSeam::clear();
        PrintPreviewSeam::clear();
        m_window = WindowOnTop();
    }

    // The report always ends: a total that no longer fits goes to a page of its own, and a page too short
    // for a record still takes one. (Footers and page labels are read back from the PDF below.)
    void paginationEnds()
    {
        const int oneRecordBody = kPageHeaderHeight + kDetailHeight + kPageFooterHeight + 100;
        const QList<Page> tight = paginate(1, oneRecordBody + kReportHeaderHeight);
        QCOMPARE(tight.size(), 2);
        QCOMPARE(bandsOf(tight[1], Band::ReportFooter), 1);
        QCOMPARE(bandsOf(paginate(0, 15840 - 2 * kMargin)[0], Band::ReportFooter), 1);
        QCOMPARE(paginate(4, 1000).size(), 5);
    }

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

    void fieldsStayInTheirBoxes()
    {
        QStringList fields(DataFileFormat::ColumnCount);
        fields[DataFileFormat::Account] =
            QStringLiteral("Long") + QString(200, QLatin1Char('x')) + QStringLiteral("END");
        fields[DataFileFormat::Info] = QStringLiteral("first line\r\nsecond line");
        const QString pdf = m_dir.filePath(QStringLiteral("boxes.pdf"));
        printToPdf(RecordReport({rowOf(fields), rowOf({})}), pdf, QPageSize::A4);
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QChar(0x2026)) && !text.contains(QStringLiteral("END")));
        QVERIFY(text.contains(QStringLiteral("first line second line")));
        QCOMPARE(text.count(QStringLiteral("Text4:")), 2); // the empty record still prints its whole block
    }

    void printerAndPreviewWidths()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Landscape);
        QCOMPARE(printerWidthTwips(printer), 15840);
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QCOMPARE(printerWidthTwips(printer), 11906);
        QCOMPARE(previewWidthTwips(11906), 12906);
        QCOMPARE(previewWidthTwips(7999), 9000);
        QCOMPARE(previewWidthTwips(8001), 9001);
    }

    void printCommandShowsTheListedRecordsWithOnTopSuspended()
    {
        const QString path = m_dir.filePath(QStringLiteral("command.lwd"));
        fixtures::makePlainDataFile(path, {recordFor(QStringLiteral("Zulu")), recordFor(QStringLiteral("Oscar")),
                                           recordFor(QStringLiteral("Papa"))});
        Recordset recordset(SqlCipherDatabase::open(path, SecretText(), SqlCipherDatabase::Access::ReadOnly));
        recordset.setFilter(QStringLiteral("Account LIKE '*a*'"));
        standIn();

        runRecordReport(nullptr, &recordset, &m_window);
        QCOMPARE(m_shown.calls, 1);
        QCOMPARE(m_shown.records, 2);
        QCOMPARE(m_shown.widthTwips, previewWidthTwips(GetPrinterWidth()));
        QVERIFY(m_shown.suspendedWhileShown);
        QVERIFY(!m_window.suspended);

        // No data file open: the closed record set is passed over and an empty report is shown.
        recordset.close();
        runRecordReport(nullptr, &recordset, &m_window);
        QCOMPARE(m_shown.records, 0);
        runRecordReport(nullptr, static_cast<const Recordset*>(nullptr), &m_window);
        QCOMPARE(m_shown.calls, 3);
        QVERIFY(MessageBoxSeam::shown().isEmpty());
    }

    void failingPreviewIsReportedAndOnTopComesBack()
    {
        standIn(ReportPrinterErr::PrinterError, QStringLiteral("Printer error"));
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        runRecordReport(nullptr, QList<AccountRow>{rowOf({"Alpha"})}, &m_window);
        QVERIFY(m_shown.suspendedWhileShown);
        QVERIFY(!m_window.suspended);
        const QList<MessageBoxRequest> boxes = MessageBoxSeam::shown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QStringLiteral("DATABASE REPORT ERROR!"));
        QCOMPARE(boxes[0].prompt, QStringLiteral("DataReport Error:\r\n482: \r\nPrinter error"));
        QCOMPARE(boxes[0].buttons, int(vb::vbOKOnly));
        QCOMPARE(boxes[0].icon, int(vb::vbCritical));

        // The closed-record-set fault is passed over without a word.
        MessageBoxSeam::clear();
        standIn(EngineErr::ClosedObject, QStringLiteral("closed"));
        runRecordReport(nullptr, QList<AccountRow>{}, &m_window);
        QCOMPARE(m_shown.calls, 1);
        QVERIFY(MessageBoxSeam::shown().isEmpty());
        QVERIFY(!m_window.suspended);
    }

    // The real preview: modal over its owner, at the printer's width on screen, with every page.
    void previewOpensAtThePrinterWidthWithEveryPage()
    {
        QWidget owner;
        owner.show();
        int previewWidth = -1;
        int previewPages = -1;
        QTimer::singleShot(0, &owner, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview || preview->parentWidget() != &owner)
                return;
            previewWidth = preview->width();
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
                previewPages = pages->pageCount();
            preview->reject();
        });
        QTimer::singleShot(15000, &owner, [] {
            if (QWidget* stuck = QApplication::activeModalWidget())
                stuck->close();
        });
        QList<AccountRow> rows;
        for (int i = 0; i < 5; ++i)
            rows << rowOf({QStringLiteral("Account %1").arg(i)});
        runRecordReport(&owner, rows, &m_window);

        const QScreen* screen = owner.screen();
        const int expected =
            std::min(int(std::lround(previewWidthTwips(GetPrinterWidth()) * screen->logicalDotsPerInchX() / 1440.0)),
                     screen->availableGeometry().width());
        QCOMPARE(previewWidth, expected);
        QCOMPARE(previewPages, RecordReport(rows).pageCount(QPrinter(QPrinter::HighResolution).pageLayout()));
        QVERIFY(MessageBoxSeam::shown().isEmpty());
    }
};

QTEST_MAIN(TestRecordReport)
#include "test_RecordReport.moc"
