#include "errorreport/ReportNotice.h"

#include "desktop/DialogPlatform.h"
#include "errortrap/Bulwark.h"

#include <QMessageBox>
#include <QWidget>

namespace {
bool g_recording = false;

QStringList& recorded()
{
    static QStringList notices;
    return notices;
}
} // namespace

void bwNotice(QWidget* owner, const QString& text)
{
    BW_TRACE("ReportNotice.cpp", "Sub bwNotice");
    if (g_recording || !canShowDialogs()) {
        recorded().append(text);
        return;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Information, owner ? owner->windowTitle() : QString(), shown, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ReportNoticeSeam::setRecording(bool on)
{
    g_recording = on;
}

QStringList ReportNoticeSeam::shown()
{
    return recorded();
}

void ReportNoticeSeam::clear()
{
    recorded().clear();
}
