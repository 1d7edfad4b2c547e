#pragma once
// Printing the listed records: the report shown in a modal print preview over the records window,
// printed (or saved as PDF) from there.
#include "storage/AccountRow.h"

#include <QList>
#include <functional>

class QWidget;
class Recordset;
class RecordReport;

// Shows the report in a modal print preview owned by owner, widthTwips wide, on the current printer.
// Returns when the preview is closed. A fault while drawing the pages raises a RuntimeError once the
// preview has closed.
void showPrintPreview(QWidget* owner, const RecordReport& report, int widthTwips);

// The print command once the master password has been confirmed: takes the records the record set
// lists (a null or closed set gives none), sizes the preview from the printer's width and shows it.
// While the preview is up *suspendOnTop (if given) is true, and it is false again afterwards, also when
// the preview failed. Faults are shown in a "DATABASE REPORT ERROR!" box; none leaves this function.
void runRecordReport(QWidget* owner, const Recordset* listed, bool* suspendOnTop = nullptr);
void runRecordReport(QWidget* owner, const QList<AccountRow>& rows, bool* suspendOnTop = nullptr);

namespace PrintPreviewSeam {
// Replaces showPrintPreview for runRecordReport until clear(): the stand-in gets what the preview
// would have shown, and may raise a RuntimeError to play a failing preview.
using Show = std::function<void(QWidget* owner, const RecordReport& report, int widthTwips)>;
void setShow(Show show);
void clear();
} // namespace PrintPreviewSeam
