#include "tools/ReportPrinter.h"

#include "errortrap/Bulwark.h"

#include <QPageLayout>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {
constexpr const char* kModule = "ReportPrinter.cpp";
constexpr double kTwipsPerInch = 1440.0;

// Twips per unit of a page size's own definition, so that sizes defined in inches or millimetres
// convert without the rounding of Qt's unit conversions; 0 for units converted by Qt.
double twipsPerDefinitionUnit(QPageSize::Unit unit)
{
    switch (unit) {
    case QPageSize::Millimeter:
        return kTwipsPerInch / 25.4;
    case QPageSize::Point:
        return 20.0;
    case QPageSize::Inch:
        return kTwipsPerInch;
    case QPageSize::Pica:
        return 240.0;
    case QPageSize::Didot:
    case QPageSize::Cicero:
        break;
    }
    return 0.0;
}
} // namespace

qint32 printerWidthTwips(const QPrinter& printer)
{
    BW_TRACE(kModule, "Function printerWidthTwips");
    const QPageLayout layout = printer.pageLayout();
    if (!layout.isValid())
        throw RuntimeError(ReportPrinterErr::PrinterError, QStringLiteral("Printer error"));
    const QPageSize size = layout.pageSize();
    double width = 0.0;
    if (const double perUnit = twipsPerDefinitionUnit(size.definitionUnits()); perUnit > 0.0) {
        const QSizeF defined = size.definitionSize();
        width = (layout.orientation() == QPageLayout::Landscape ? defined.height() : defined.width()) * perUnit;
    } else {
        width = layout.fullRect(QPageLayout::Millimeter).width() * kTwipsPerInch / 25.4;
    }
    if (!(width > 0.0))
        throw RuntimeError(ReportPrinterErr::PrinterError, QStringLiteral("Printer error"));
    return qint32(std::lround(width));
}

qint32 GetPrinterWidth()
{
    qint32 width = 0;
    // The printer's properties are read without starting a job, so nothing can come out of it.
    bwHandler(kModule, "Function GetPrinterWidth", [&] {
        const QPrinter printer(QPrinter::HighResolution);
        width = printerWidthTwips(printer);
    });
    return width;
}

int previewWidthTwips(qint32 printerWidth)
{
    BW_TRACE(kModule, "Function previewWidthTwips");
    constexpr qint32 kNarrowest = 8000;
    constexpr int kFrame = 1000;
    return int(std::max(printerWidth, kNarrowest)) + kFrame;
}
