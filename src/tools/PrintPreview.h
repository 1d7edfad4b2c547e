#pragma once
// Printing the listed records: the report shown in a modal print preview over the records window,
// printed (or saved as PDF) from there.
#include "storage/AccountRow.h"

#include <QList>
#include <functional>

class QWidget;
class Recordset;
class SuspendableOnTop;
class RecordReport;

// Shows the report in a modal print preview owned by owner, widthTwips wide, on the current printer.
// Returns when the preview is closed. A fault while drawing the pages raises a RuntimeError once the
// preview has closed.
void showPrintPreview(QWidget* owner, const RecordReport& report, int widthTwips);

// The print command once the master password has been confirmed: takes the records the record set
// lists (a null or closed set gives none), sizes the preview from the printer's width and shows it.
// While the preview is up the window kept on top (if given) is held back by SuspendOnTop, which is given
// back afterwards, also when the preview failed. Faults are shown in a "DATABASE REPORT ERROR!" box; none
// leaves this function.
void runRecordReport(QWidget* owner, const Recordset* listed, SuspendableOnTop* onTop = nullptr);
void runRecordReport(QWidget* owner, const QList<AccountRow>& rows, SuspendableOnTop* onTop = nullptr);

namespace PrintPreviewSeam {
// Replaces showPrintPreview for runRecordReport until clear(): the stand-in gets what the preview
// would have shown, and may raise a RuntimeError to play a failing preview.
using Show = std::function<void(QWidget* owner, const RecordReport& report, int widthTwips)>;
void setShow(Show show);
void clear();
} // namespace PrintPreviewSeam
