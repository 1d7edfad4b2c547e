#include "desktop/MessageBox.h"

#include "desktop/DialogPlatform.h"
#include "desktop/ShownTitle.h"
#include "errortrap/Bulwark.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QQueue>
#include <QWidget>

namespace {
constexpr qsizetype kMaxRecorded = 1000;
QQueue<int> g_answers;
QList<MessageBoxRequest> g_shown;

QMessageBox::StandardButton standardButtonFor(int answer)
{
    BW_TRACE("MessageBox.cpp", "Function standardButtonFor");
    switch (answer) {
    case vb::vbOK:
        return QMessageBox::Ok;
    case vb::vbCancel:
        return QMessageBox::Cancel;
    case vb::vbAbort:
        return QMessageBox::Abort;
    case vb::vbRetry:
        return QMessageBox::Retry;
    case vb::vbIgnore:
        return QMessageBox::Ignore;
    case vb::vbYes:
        return QMessageBox::Yes;
    case vb::vbNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::Icon iconFor(int icon)
{
    BW_TRACE("MessageBox.cpp", "Function iconFor");
    switch (icon) {
    case vb::vbCritical:
        return QMessageBox::Critical;
    case vb::vbQuestion:
        return QMessageBox::Question;
    case vb::vbExclamation:
        return QMessageBox::Warning;
    case vb::vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// CR LF (and a lone CR or LF) become the line breaks of a plain-text label.
QString displayText(const QString& prompt)
{
    BW_TRACE("MessageBox.cpp", "Function displayText");
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString applicationTitle()
{
    BW_TRACE("MessageBox.cpp", "Function applicationTitle");
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
}
} // namespace

namespace msgbox {

MessageBoxRequest describe(const QString& prompt, int style, const QString& title)
{
    BW_TRACE("MessageBox.cpp", "Function describe");
    MessageBoxRequest request;
    request.prompt = prompt;
    request.buttons = style & 0x0F;
    request.icon = style & 0x70;
    request.defaultButton = style & 0xF00;
    request.title = title;
    return request;
}

QList<int> answersOf(int buttonSet)
{
    BW_TRACE("MessageBox.cpp", "Function answersOf");
    switch (buttonSet) {
    case vb::vbOKCancel:
        return {vb::vbOK, vb::vbCancel};
    case vb::vbAbortRetryIgnore:
        return {vb::vbAbort, vb::vbRetry, vb::vbIgnore};
    case vb::vbYesNoCancel:
        return {vb::vbYes, vb::vbNo, vb::vbCancel};
    case vb::vbYesNo:
        return {vb::vbYes, vb::vbNo};
    case vb::vbRetryCancel:
        return {vb::vbRetry, vb::vbCancel};
    default:
        return {vb::vbOK};
    }
}

int defaultAnswer(const MessageBoxRequest& request)
{
    BW_TRACE("MessageBox.cpp", "Function defaultAnswer");
    const QList<int> answers = answersOf(request.buttons);
    const int index = request.defaultButton / vb::vbDefaultButton2;
    return index < answers.size() ? answers.at(index) : answers.first();
}

int escapeAnswer(const MessageBoxRequest& request)
{
    BW_TRACE("MessageBox.cpp", "Function escapeAnswer");
    const QList<int> answers = answersOf(request.buttons);
    if (answers.contains(vb::vbCancel))
        return vb::vbCancel;
    if (answers.contains(vb::vbNo))
        return vb::vbNo;
    return answers.first(); // OK alone, or Abort of Abort/Retry/Ignore
}

QMessageBox* createMessageBox(const MessageBoxRequest& request, QWidget* parent)
{
    BW_TRACE("MessageBox.cpp", "Function createMessageBox");
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(request.title);
    box->setTextFormat(Qt::PlainText);
    box->setText(displayText(request.prompt));
    box->setIcon(iconFor(request.icon));
    box->setWindowModality(Qt::ApplicationModal);
    const int byDefault = defaultAnswer(request);
    const int byEscape = escapeAnswer(request);
    for (int answer : answersOf(request.buttons)) {
        QPushButton* button = box->addButton(standardButtonFor(answer));
        button->setProperty("vbAnswer", answer);
        if (answer == byDefault)
            box->setDefaultButton(button);
        if (answer == byEscape)
            box->setEscapeButton(button);
    }
    return box;
}

int answerOf(const QMessageBox& box, const MessageBoxRequest& request)
{
    BW_TRACE("MessageBox.cpp", "Function answerOf");
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked->property("vbAnswer").isValid())
        return clicked->property("vbAnswer").toInt();
    return escapeAnswer(request);
}

} // namespace msgbox

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    BW_TRACE("MessageBox.cpp", "Function MsgBox");
    MessageBoxRequest request = msgbox::describe(prompt, buttons, title.isEmpty() ? applicationTitle() : title);
    if (g_shown.size() >= kMaxRecorded) // a long session keeps only the latest
        g_shown.removeFirst();
    g_shown.append(request);
    if (!g_answers.isEmpty())
        return g_answers.dequeue();
    if (!canShowDialogs())
        return msgbox::defaultAnswer(request);

    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QPointer<QMessageBox> box = msgbox::createMessageBox(request, parent);
    g_shown.last().title = shownWindowTitle(box); // what the window manager shows, not what was asked
    box->exec();
    if (!box) // destroyed while open (its parent went away): treat as closed without a button
        return msgbox::escapeAnswer(request);
    const int answer = msgbox::answerOf(*box, request);
    delete box;
    return answer;
}

namespace MessageBoxSeam {
void setNextAnswer(int answer)
{
    BW_TRACE("MessageBox.cpp", "Sub setNextAnswer");
    g_answers.enqueue(answer);
}

QList<MessageBoxRequest> shown()
{
    BW_TRACE("MessageBox.cpp", "Function shown");
    return g_shown;
}

void clear()
{
    BW_TRACE("MessageBox.cpp", "Sub clear");
    g_answers.clear();
    g_shown.clear();
}
} // namespace MessageBoxSeam
