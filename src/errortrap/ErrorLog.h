#pragma once
// The text of one error in the error log:
//   *Error yyyy-MM-dd hh:mm:ss
//   Runtime error <number> on line 0 : <description>
//   Source : <source>                          (when the error names one)
//   Code Pointer : <module> : <procedure>
//   User : <operating-system user>             (when the user is included)
//   <trace entry> : Call | : Trap | : Error    (one line per level, outermost first)
//   Answer : Retry | Go on | Leave
//   User Said : <note>
// followed by an empty line. The trapping procedure is marked Trap, the innermost level at the moment the error
// was raised Error, every other level Call. Line breaks are CR LF.
#include "errortrap/Bulwark.h"

#include <QDateTime>

struct BwErrorLogEntry
{
    BwErrorReport report;
    BwAction action = BwAction::Leave;
    QString note;
    QDateTime when;
    QString user; // empty: no User line
};

QString bwErrorLogText(const BwErrorLogEntry& entry);
QString bwActionName(BwAction action);
