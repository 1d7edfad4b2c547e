#include "errorreport/ErrorReportText.h"

#include "errortrap/BwCatalogue.h"

#include <QCoreApplication>

namespace {
constexpr const char* kModule = "ErrorReportText.cpp";
const QString kCrLf = QStringLiteral("\r\n");
const QString kEntrySeparator = QStringLiteral(" : ");
constexpr int kCaptionColumns = 14;
// A tab of the trace entry's indentation, as the report shows it.
const QString kIndent = QStringLiteral("    ");

// Error numbers of file and disk operations.
constexpr int kFirstFileError = 52;
constexpr int kLastFileError = 76;
// Error numbers of the database engine and the record set.
constexpr int kFirstEngineError = 3000;
constexpr int kLastEngineError = 3999;

QString captioned(const QString& caption, const QString& value)
{
    return caption.leftJustified(kCaptionColumns) + value;
}

QStringList withTitle(const QString& title, const QStringList& lines)
{
    return QStringList{title, QString()} + lines;
}
} // namespace

QString ErrorReportText::moduleCaption()
{
    return bwMessage(BwMsg::ModuleCaption);
}

QString ErrorReportText::procedureCaption()
{
    return bwMessage(BwMsg::ProcedureCaption);
}

QString ErrorReportText::category(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function category");
    const int n = report.number;
    if (n == BwErr::InternalError)
        return QStringLiteral("Internal error");
    if (n < 0 || (n >= kFirstEngineError && n <= kLastEngineError) ||
        report.source.compare(QLatin1String("SQLCipher"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Data file error");
    if (n >= kFirstFileError && n <= kLastFileError)
        return QStringLiteral("File error");
    if (n > 0 && n < 1000)
        return QStringLiteral("Run-time error");
    return QStringLiteral("Application error");
}

QString ErrorReportText::source(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function source");
    return report.source.isEmpty() ? QCoreApplication::applicationName() : report.source;
}

QStringList ErrorReportText::callTree(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function callTree");
    if (report.trace.isEmpty())
        return {kNoTrace};
    QStringList tree;
    for (QString entry : report.trace) {
        // An entry ends with " : " and its argument text; the tree shows the level, module and procedure.
        const int cut = entry.lastIndexOf(kEntrySeparator);
        if (cut > 0)
            entry.truncate(cut);
        tree.append(entry.replace(QLatin1Char('\t'), kIndent));
    }
    return tree;
}

QStringList ErrorReportText::arguments(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function arguments");
    if (report.trace.isEmpty())
        return {QString()};
    QStringList args;
    for (const QString& entry : report.trace) {
        const int cut = entry.lastIndexOf(kEntrySeparator);
        const QString text = cut < 0 ? QString() : entry.mid(cut + kEntrySeparator.size());
        args.append(text.isEmpty() ? QStringLiteral("<none>") : text);
    }
    return args;
}

QString ErrorReportText::errorInformation(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function errorInformation");
    const QStringList lines = withTitle(kErrorInformation, {
                                                               captioned(kErrorNo, QString::number(report.number)),
                                                               captioned(kDescription, report.description),
                                                               captioned(kCategory, category(report)),
                                                               captioned(kLineNumber, kNoLineNumbers),
                                                               captioned(kSource, source(report)),
                                                               captioned(moduleCaption(), report.module),
                                                               captioned(procedureCaption(), report.procedure),
                                                           });
    return lines.join(kCrLf) + kCrLf;
}

QString ErrorReportText::callTreeAndArguments(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function callTreeAndArguments");
    QStringList lines;
    lines.append(QStringLiteral("Code Pointer : ") + report.module + kEntrySeparator + report.procedure);
    lines.append(QString());
    const QStringList tree = callTree(report);
    const QStringList args = arguments(report);
    for (int i = 0; i < tree.size(); ++i) {
        lines.append(tree.at(i));
        if (!report.trace.isEmpty())
            lines.append(kIndent + QStringLiteral("Arguments: ") + args.value(i));
    }
    return withTitle(kCallTree, lines).join(kCrLf) + kCrLf;
}

QString ErrorReportText::systemState(const QString& systemReport)
{
    BW_TRACE(kModule, "Function systemState");
    return kSystemState + kCrLf + kCrLf + systemReport;
}
