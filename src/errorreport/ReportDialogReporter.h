#pragma once
// The error trap's reporter that shows the error report dialog, and the meaning of its answers.
//
// Continue (code 0) goes on with the program: the failing handler returns. More (code 5) would break into a
// development environment, which an installed program does not have; here it tries the failed action again,
// and the dialog comes back if it fails again. The user's note goes to the error log either way.
#include "errortrap/Bulwark.h"

#include <QList>

// Installs the dialog as the error trap's reporter.
void installReportDialogReporter();

// The reporter itself: shows the dialog over the active window and answers with the user's choice and note.
// Without a desktop to show it on (offscreen or minimal platform) it shows nothing and answers Continue.
BwReportAnswer reportInDialog(const BwErrorReport& report);

// The action an answer code stands for: 0 go on, 5 retry; any other code leaves the procedure.
BwAction actionForCode(int code);

namespace ReportDialogSeam {
// Queues the answer of the next report (action code and note); while one is queued no dialog is shown.
void setNextAnswer(int code, const QString& note = QString());
// Every report asked for since the last clear(), oldest first.
QList<BwErrorReport> shown();
// Forgets queued answers and recorded reports.
void clear();
} // namespace ReportDialogSeam
