#include "errortrap/DefaultReporter.h"

#include "errortrap/BwCatalogue.h"

#include <QApplication>
#include <QMessageBox>

QString bwErrorMessageText(const BwErrorReport& report)
{
    return QStringLiteral("An unexpected '") + report.description + QStringLiteral("' error occurred in ") +
           report.module + QLatin1Char(' ') + report.procedure;
}

bool bwCanShowDialogs()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

BwReportAnswer bwDefaultReporter(const BwErrorReport& report)
{
    if (bwCanShowDialogs())
        QMessageBox::critical(nullptr, bwMessage(BwMsg::ErrorIntercepted), bwErrorMessageText(report));
    return BwReportAnswer{BwAction::Leave, QString()};
}
