#pragma once
// The printer as the record report sees it: the width of its sheet in twips, and the width of the
// preview window that follows from it.
#include <QtGlobal>

class QPrinter;

namespace ReportPrinterErr {
// The printer's properties could not be read or it could not start a page.
constexpr int PrinterError = 482;
} // namespace ReportPrinterErr

// The width of the whole sheet of the current (default) printer in twips, in the orientation it is set
// to. Nothing is printed. A printer that cannot be read is reported through the error trap and gives 0.
qint32 GetPrinterWidth();

// The width of the printer's whole sheet in twips; raises ReportPrinterErr::PrinterError when the
// printer has no valid page.
qint32 printerWidthTwips(const QPrinter& printer);

// The preview window's width in twips for a printer width: 1000 more than the printer width, taken
// as at least 8000.
int previewWidthTwips(qint32 printerWidth);
