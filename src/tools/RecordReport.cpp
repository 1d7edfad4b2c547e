#include "tools/RecordReport.h"

#include "errortrap/Bulwark.h"
#include "storage/DataFileFormat.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "tools/ReportLayout.h"
#include "tools/ReportPrinter.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cmath>

namespace {
constexpr const char* kModule = "RecordReport.cpp";
// The header picture, kept with the program's pictures.
constexpr char kHeaderPicture[] = ":/pictures/report-header.svg";

using namespace ReportLayout;

QRectF rectOf(const Box& box, int bandTop)
{
    return QRectF(box.left, bandTop + box.top, box.width, box.height);
}

// The printable height of a page in twips once the report's margins are applied.
int bodyHeightOf(QPageLayout layout)
{
    const double margin = kMargin / 20.0; // points
    layout.setMargins(QMarginsF(margin, margin, margin, margin));
    return int(std::floor(layout.paintRect(QPageLayout::Point).height() * 20.0 + 1e-6));
}

// A fixed text: left-aligned at the top of its box, and never cut, since every character of a title,
// date or page label matters more than the box's exact width.
void drawLabel(QPainter& painter, const QRectF& box, FontRole role, const QString& text)
{
    painter.setFont(fontFor(role));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
}

// A field's text on one line in its box: line breaks read as spaces, and a text longer than the box
// ends in "…" so the reader sees that more is stored.
void drawField(QPainter& painter, const QRectF& box, QStringView value)
{
    static const QRegularExpression lineBreaks(QStringLiteral("\r\n|\r|\n"));
    QString text = value.toString();
    text.replace(lineBreaks, QStringLiteral(" "));
    painter.setFont(fontFor(FontRole::Field));
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     metrics.elidedText(text, Qt::ElideRight, box.width()));
}
} // namespace

RecordReport::RecordReport(QList<AccountRow> rows, const QDate& date) : m_rows(std::move(rows)), m_date(date)
{
    BW_TRACE(kModule, "Sub DataReport_Initialize");
}

QList<AccountRow> RecordReport::listedRows(const Recordset& recordset)
{
    BW_TRACE(kModule, "Function listedRows");
    if (!recordset.isOpen())
        throw RuntimeError(EngineErr::ClosedObject,
                           QStringLiteral("Operation is not allowed when the object is closed."));
    QList<AccountRow> rows;
    rows.reserve(recordset.rowCount());
    for (int row = 0; row < recordset.rowCount(); ++row) {
        AccountRow record;
        for (int column = 0; column < DataFileFormat::ColumnCount; ++column)
            record.setField(column, recordset.valueAt(row, column));
        rows.append(record);
    }
    return rows;
}

QString RecordReport::dateText() const
{
    BW_TRACE(kModule, "Function dateText");
    return QLocale().toString(m_date, QLocale::LongFormat);
}

int RecordReport::pageCount(const QPageLayout& layout) const
{
    BW_TRACE(kModule, "Function pageCount");
    return int(paginate(recordCount(), bodyHeightOf(layout)).size());
}

void RecordReport::print(QPagedPaintDevice& device) const
{
    BW_TRACE(kModule, "Sub print");
    const double margin = kMargin / 20.0;
    device.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Point);
    const QList<Page> pages = paginate(recordCount(), bodyHeightOf(device.pageLayout()));

    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError(ReportPrinterErr::PrinterError, QStringLiteral("The printer could not start a page."));
    // From here on the painter draws in twips from the top left of the printable area.
    const double scaleX = device.logicalDpiX() / double(kTwipsPerInch);
    const double scaleY = device.logicalDpiY() / double(kTwipsPerInch);
    for (int index = 0; index < pages.size(); ++index) {
        if (index > 0 && !device.newPage()) {
            painter.end();
            throw RuntimeError(ReportPrinterErr::PrinterError, QStringLiteral("The printer could not start a page."));
        }
        painter.save();
        painter.scale(scaleX, scaleY);
        painter.setPen(Qt::black);
        for (const PlacedBand& band : pages[index]) {
            switch (band.band) {
            case Band::ReportHeader:
                paintReportHeader(painter, band.top);
                break;
            case Band::PageHeader:
                paintPageHeader(painter, band.top, index + 1, int(pages.size()));
                break;
            case Band::Detail:
                paintDetail(painter, band.top, m_rows[band.record]);
                break;
            case Band::ReportFooter:
                paintReportFooter(painter, band.top);
                break;
            case Band::PageFooter: // nothing in it; it only keeps its height free
                break;
            }
        }
        painter.restore();
    }
    painter.end();
}

void RecordReport::paintReportHeader(QPainter& painter, int top) const
{
    BW_TRACE(kModule, "Sub ReportHeader_Format");
    QSvgRenderer picture(QString::fromLatin1(kHeaderPicture));
    if (picture.isValid()) {
        picture.setAspectRatioMode(Qt::KeepAspectRatio);
        picture.render(&painter, rectOf(kPictureBox, top));
    }
    drawLabel(painter, rectOf(kTitleBox, top), FontRole::Title, QString::fromLatin1(kTitle));
    drawLabel(painter, rectOf(kDateBox, top), FontRole::Date, dateText());
}

void RecordReport::paintPageHeader(QPainter& painter, int top, int page, int pages) const
{
    BW_TRACE(kModule, "Sub PageHeader_Format");
    drawLabel(painter, rectOf(kPageLabelBox, top), FontRole::PageLabel, pageLabel(page, pages));
}

void RecordReport::paintDetail(QPainter& painter, int top, const AccountRow& row) const
{
    BW_TRACE(kModule, "Sub Detail_Format");
    for (const DetailLabel& label : kDetailLabels)
        drawLabel(painter, rectOf(label.box, top), FontRole::Label, QString::fromLatin1(label.text));
    for (const DetailField& field : kDetailFields) {
        const int column = DataFileFormat::columnIndex(QLatin1String(field.column));
        drawField(painter, rectOf(field.box, top), column < 0 ? QStringView() : row.field(column));
    }
    painter.save();
    painter.setPen(QPen(Qt::black, kLineWidth));
    const double y = top + kClosingLine.top;
    painter.drawLine(QPointF(kClosingLine.left, y), QPointF(kClosingLine.left + kClosingLine.length, y));
    painter.restore();
}

void RecordReport::paintReportFooter(QPainter& painter, int top) const
{
    BW_TRACE(kModule, "Sub ReportFooter_Format");
    drawLabel(painter, rectOf(kTotalLabelBox, top), FontRole::Label, QString::fromLatin1(kTotalLabel));
    drawLabel(painter, rectOf(kTotalCountBox, top), FontRole::Field, QString::number(recordCount()));
}
