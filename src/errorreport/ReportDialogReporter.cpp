#include "errorreport/ReportDialogReporter.h"

#include "desktop/DialogPlatform.h"
#include "errorreport/frmBULWARK.h"

#include <QApplication>
#include <QQueue>

namespace {
constexpr const char* kModule = "ReportDialogReporter.cpp";
constexpr int kRecordedReports = 100; // enough for any test; a long run does not grow without end

struct QueuedAnswer
{
    int code;
    QString note;
};

QQueue<QueuedAnswer>& queued()
{
    static QQueue<QueuedAnswer> answers;
    return answers;
}

QList<BwErrorReport>& recorded()
{
    static QList<BwErrorReport> reports;
    return reports;
}
} // namespace

BwAction actionForCode(int code)
{
    BW_TRACE(kModule, "Function actionForCode");
    switch (code) {
    case frmBULWARK::kContinue:
        return BwAction::GoOn;
    case frmBULWARK::kMore:
        return BwAction::Retry;
    default:
        return BwAction::Leave;
    }
}

BwReportAnswer reportInDialog(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Function reportInDialog");
    recorded().append(report);
    if (recorded().size() > kRecordedReports)
        recorded().removeFirst();
    frmBULWARK::Result result;
    if (!queued().isEmpty()) {
        const QueuedAnswer answer = queued().dequeue();
        result.actionCode = answer.code;
        result.note = answer.note;
    } else if (canShowDialogs()) {
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner)
            owner = QApplication::activeWindow();
        result = frmBULWARK::run(report, owner);
    }
    return BwReportAnswer{actionForCode(result.actionCode), result.note};
}

void installReportDialogReporter()
{
    BW_TRACE(kModule, "Sub installReportDialogReporter");
    bwSetReporter(&reportInDialog);
}

void ReportDialogSeam::setNextAnswer(int code, const QString& note)
{
    queued().enqueue(QueuedAnswer{code, note});
}

QList<BwErrorReport> ReportDialogSeam::shown()
{
    return recorded();
}

void ReportDialogSeam::clear()
{
    queued().clear();
    recorded().clear();
}
