#pragma once
// Information boxes of the error report dialog (the knowledge base answers), shown over the dialog and titled
// with its title. Test seam: while recording, a notice is kept instead of shown. Without a desktop to show it
// on (offscreen or minimal platform) a notice is only recorded.
#include <QString>
#include <QStringList>

class QWidget;

// Shows text in a modal information box with an OK button over owner, titled with owner's window title.
void bwNotice(QWidget* owner, const QString& text);

namespace ReportNoticeSeam {
// While on, notices are recorded and not shown.
void setRecording(bool on);
// The texts of the notices since the last clear(), oldest first.
QStringList shown();
void clear();
} // namespace ReportNoticeSeam
