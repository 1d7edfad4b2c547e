#pragma once
// The texts of the error report: the field values of the dialog and the three views its lower part offers
// (error information, call tree with arguments, system state). Line breaks are CR LF.
#include "errortrap/Bulwark.h"

#include <QString>
#include <QStringList>

namespace ErrorReportText {

// What the line field shows: the program has no line numbers.
inline const QString kNoLineNumbers = QStringLiteral(" <unavailable: line numbers not used>");
// What the call tree shows when no procedure trace was kept.
inline const QString kNoTrace = QStringLiteral("<unavailable: the procedure trace is switched off>");

// Section titles and field captions of the report.
inline const QString kErrorInformation = QStringLiteral("Error Information");
inline const QString kCallTree = QStringLiteral("Call Tree & Arguments");
inline const QString kSystemState = QStringLiteral("System State Information");
inline const QString kErrorNo = QStringLiteral("Error No. ");
inline const QString kDescription = QStringLiteral("Description ");
inline const QString kCategory = QStringLiteral("Category ");
inline const QString kLineNumber = QStringLiteral("Line Number ");
inline const QString kSource = QStringLiteral("Source ");
QString moduleCaption();    // "Module    "
QString procedureCaption(); // "Procedure"

// The error's category: "Internal error", "Data file error", "File error", "Run-time error" or
// "Application error", told by its number and source.
QString category(const BwErrorReport& report);

// The error's source, or the application's name when the error names none.
QString source(const BwErrorReport& report);

// The trace entries at the moment of the error, tabs shown as indentation; kNoTrace when there were none.
QStringList callTree(const BwErrorReport& report);

// The argument text of each trace entry ("<none>" for an empty one), one per entry of callTree().
QStringList arguments(const BwErrorReport& report);

// The views of the report's lower part.
QString errorInformation(const BwErrorReport& report);
QString callTreeAndArguments(const BwErrorReport& report);
QString systemState(const QString& systemReport);

} // namespace ErrorReportText
