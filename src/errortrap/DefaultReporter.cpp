#include "errortrap/DefaultReporter.h"

#include "errortrap/BwCatalogue.h"

#include <cstdio>

QString bwErrorMessageText(const BwErrorReport& report)
{
    return QStringLiteral("An unexpected '") + report.description + QStringLiteral("' error occurred in ") +
           report.module + QLatin1Char(' ') + report.procedure;
}

BwReportAnswer bwDefaultReporter(const BwErrorReport& report)
{
    const QByteArray line =
        (bwMessage(BwMsg::ErrorIntercepted) + QStringLiteral(": ") + bwErrorMessageText(report) + QLatin1Char('\n'))
            .toLocal8Bit();
    std::fputs(line.constData(), stderr);
    return BwReportAnswer{BwAction::Leave, QString()};
}
