#include "tools/PrintPreview.h"

#include "desktop/MessageBox.h"
#include "desktop/SuspendOnTop.h"
#include "errortrap/Bulwark.h"
#include "storage/EngineError.h"
#include "tools/RecordReport.h"
#include "tools/ReportLayout.h"
#include "tools/ReportPrinter.h"

#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
constexpr const char* kModule = "PrintPreview.cpp";

PrintPreviewSeam::Show g_show;

QScreen* screenOf(const QWidget* owner)
{
    if (owner && owner->screen())
        return owner->screen();
    return QGuiApplication::primaryScreen();
}

// "DataReport Error:" CR LF number ": " CR LF description, in a critical-stop box.
void showReportError(const RuntimeError& error)
{
    BW_TRACE(kModule, "Sub showReportError");
    MsgBox(QStringLiteral("DataReport Error:\r\n") + QString::number(error.number()) + QStringLiteral(": \r\n") +
               error.description(),
           vb::vbOKOnly | vb::vbCritical, QStringLiteral("DATABASE REPORT ERROR!"));
}

// Runs one step of the print command. The "closed" fault of a record set (no data file open) is
// passed over; any other fault is shown. Either way the command goes on with its next step.
template <class Step> void reportStep(Step&& step)
{
    try {
        step();
    } catch (const RuntimeError& error) {
        if (error.number() != EngineErr::ClosedObject)
            showReportError(error);
    } catch (...) {
        showReportError(RuntimeError(BwErr::InternalError, QStringLiteral("Internal error")));
    }
}

void showReport(QWidget* owner, const QList<AccountRow>& rows, SuspendableOnTop* onTop)
{
    BW_TRACE(kModule, "Sub showReport");
    const RecordReport report(rows);
    const int widthTwips = previewWidthTwips(GetPrinterWidth());
    std::optional<SuspendOnTopScope> suspended;
    if (onTop)
        suspended.emplace(*onTop);
    reportStep([&] {
        if (g_show)
            g_show(owner, report, widthTwips);
        else
            showPrintPreview(owner, report, widthTwips);
    });
}
} // namespace

void showPrintPreview(QWidget* owner, const RecordReport& report, int widthTwips)
{
    BW_TRACE(kModule, "Sub showPrintPreview");
    QPrinter printer(QPrinter::HighResolution);
    if (!printer.isValid())
        throw RuntimeError(ReportPrinterErr::PrinterError, QStringLiteral("Printer error"));
    printer.setDocName(QString::fromLatin1(ReportLayout::kTitle));

    QPrintPreviewDialog preview(&printer, owner);
    preview.setWindowTitle(QString::fromLatin1(ReportLayout::kTitle));
    std::optional<RuntimeError> fault;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        try {
            report.print(*target);
        } catch (const RuntimeError& error) {
            // Exceptions must not cross Qt's event loop: end the preview and raise the fault after it.
            if (!fault)
                fault = error;
            preview.reject();
        } catch (...) {
            if (!fault)
                fault = RuntimeError(BwErr::InternalError, QStringLiteral("Internal error"));
            preview.reject();
        }
    });

    // The width follows the printer's sheet; the preview never opens wider or taller than the screen.
    const QScreen* screen = screenOf(owner);
    const QRect available = screen->availableGeometry();
    const int width = int(std::lround(widthTwips * screen->logicalDotsPerInchX() / ReportLayout::kTwipsPerInch));
    const int height = available.height() * 9 / 10;
    preview.resize(std::min(width, available.width()), std::max(height, 300));
    preview.exec();
    if (fault)
        throw *fault;
}

void runRecordReport(QWidget* owner, const Recordset* listed, SuspendableOnTop* onTop)
{
    BW_TRACE(kModule, "Sub runRecordReport");
    QList<AccountRow> rows;
    reportStep([&] {
        if (!listed)
            throw RuntimeError(EngineErr::ClosedObject,
                               QStringLiteral("Operation is not allowed when the object is closed."));
        rows = RecordReport::listedRows(*listed);
    });
    showReport(owner, rows, onTop);
}

void runRecordReport(QWidget* owner, const QList<AccountRow>& rows, SuspendableOnTop* onTop)
{
    BW_TRACE(kModule, "Sub runRecordReport");
    showReport(owner, rows, onTop);
}

namespace PrintPreviewSeam {
void setShow(Show show)
{
    g_show = std::move(show);
}
void clear()
{
    g_show = nullptr;
}
} // namespace PrintPreviewSeam
