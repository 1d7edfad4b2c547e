#pragma once
// The "Accounts Report": the listed records, one block each with every field in clear, drawn in twips
// on any paged device (a printer, the preview's pages, a PDF file).
#include "storage/AccountRow.h"

#include <QDate>
#include <QList>
#include <QString>

class QPagedPaintDevice;
class QPageLayout;
class QPainter;
class Recordset;

class RecordReport
{
public:
    explicit RecordReport(QList<AccountRow> rows, const QDate& date = QDate::currentDate());

    // The records a record set lists, in its order and under its filter, each as the grid shows it
    // (a pending change included). A closed record set raises the engine's "closed" error (3704).
    static QList<AccountRow> listedRows(const Recordset& recordset);

    int recordCount() const { return int(m_rows.size()); }
    // The report's date in the long form of the user's locale.
    QString dateText() const;

    // The number of pages the report takes on a page of this layout, drawn with the report's margins.
    int pageCount(const QPageLayout& layout) const;

    // Sets the report's margins on the device and draws every page on it. Raises a RuntimeError
    // (ReportPrinterErr::PrinterError) when the device cannot be painted on.
    void print(QPagedPaintDevice& device) const;

private:
    void paintReportHeader(QPainter& painter, int top) const;
    void paintPageHeader(QPainter& painter, int top, int page, int pages) const;
    void paintDetail(QPainter& painter, int top, const AccountRow& row) const;
    void paintReportFooter(QPainter& painter, int top) const;

    QList<AccountRow> m_rows;
    QDate m_date;
};
