#include "errortrap/ErrorLog.h"

#include "errortrap/TraceStack.h"

namespace {
constexpr QLatin1String kCrLf("\r\n");

QString withCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), kCrLf);
}

// Entries end in " : " + arguments; with no arguments the marker takes the place of the empty field.
QString marked(QString entry, const QString& marker)
{
    if (entry.endsWith(QStringLiteral(" : ")))
        entry.chop(3);
    return entry + QStringLiteral(" : ") + marker;
}

int trapLevel(const BwErrorReport& r)
{
    for (int i = r.trace.size() - 1; i >= 0; --i) {
        if (TraceStack::entryIs(r.trace[i], r.module, r.procedure))
            return i;
    }
    return -1;
}
} // namespace

QString bwActionName(BwAction action)
{
    switch (action) {
    case BwAction::Retry:
        return QStringLiteral("Retry");
    case BwAction::GoOn:
        return QStringLiteral("Go on");
    case BwAction::Leave:
        break;
    }
    return QStringLiteral("Leave");
}

QString bwErrorLogText(const BwErrorLogEntry& e)
{
    const BwErrorReport& r = e.report;
    QString text = QStringLiteral("*Error ") + e.when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + kCrLf;
    text += QStringLiteral("Runtime error ") + QString::number(r.number) + QStringLiteral(" on line 0 : ") +
            withCrLf(r.description) + kCrLf;
    if (!r.source.isEmpty())
        text += QStringLiteral("Source : ") + withCrLf(r.source) + kCrLf;
    text += QStringLiteral("Code Pointer : ") + r.module + QStringLiteral(" : ") + r.procedure + kCrLf;
    if (!e.user.isEmpty())
        text += QStringLiteral("User : ") + e.user + kCrLf;

    const int trap = trapLevel(r);
    const int innermost = r.trace.size() - 1;
    for (int i = 0; i <= innermost; ++i) {
        const QString marker = i == trap        ? QStringLiteral("Trap")
                               : i == innermost ? QStringLiteral("Error")
                                                : QStringLiteral("Call");
        text += marked(r.trace[i], marker) + kCrLf;
    }
    text += QStringLiteral("Answer : ") + bwActionName(e.action) + kCrLf;
    text += QStringLiteral("User Said : ") + withCrLf(e.note) + kCrLf;
    return text + kCrLf;
}
