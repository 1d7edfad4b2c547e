#pragma once
// Printing the error report: one view of the report as plain text, in a fixed-pitch font so that the dotted
// columns of the system report stay in line.
#include <QString>

class QPrinter;
class QWidget;

// Prints title, an empty line and text on printer. Line breaks may be CR LF.
void bwPrintReport(QPrinter& printer, const QString& title, const QString& text);

// Asks for the printer (the default printer chosen; printing to a PDF file is offered too) and prints.
// Returns false when the user cancelled.
bool bwPrintReportWithDialog(QWidget* owner, const QString& title, const QString& text);
