#include "errorreport/ReportPrint.h"

#include "errortrap/Bulwark.h"

#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

namespace {
constexpr const char* kModule = "ReportPrint.cpp";
constexpr qreal kPointSize = 9.0;
} // namespace

void bwPrintReport(QPrinter& printer, const QString& title, const QString& text)
{
    BW_TRACE(kModule, "Sub bwPrintReport");
    QString body = title + QStringLiteral("\n\n") + text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextDocument document;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(kPointSize);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setPlainText(body);
    printer.setDocName(title);
    document.print(&printer);
}

bool bwPrintReportWithDialog(QWidget* owner, const QString& title, const QString& text)
{
    BW_TRACE(kModule, "Function bwPrintReportWithDialog");
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bwPrintReport(printer, title, text);
    return true;
}
