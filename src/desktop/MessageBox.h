#pragma once
// Message boxes, told by their buttons, icon, title and text.
//
// Every message box of the program goes through MsgBox(). Tests queue answers with MessageBoxSeam and read
// back what was asked; a queued answer means no box is shown at all.
#include <QList>
#include <QString>

class QMessageBox;
class QWidget;

namespace vb {
// Style bits: one button set, plus at most one icon, plus at most one default button.
enum : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512
};
// Answers: the button the user chose.
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
} // namespace vb

// Shows a modal message box over the active window and returns the chosen button (vb::vbOK ... vb::vbNo).
// Line breaks in prompt are CR LF. An empty title shows the application's name.
int MsgBox(const QString& prompt, int buttons = vb::vbOKOnly, const QString& title = QString());

// One message box as it was asked for.
struct MessageBoxRequest
{
    QString prompt;        // the text as given, CR LF kept
    int buttons = 0;       // the button set: vb::vbOKOnly ... vb::vbRetryCancel
    int icon = 0;          // 0, vb::vbCritical, vb::vbQuestion, vb::vbExclamation or vb::vbInformation
    QString title;         // the title as the window manager shows it (the application's name when none was given)
    int defaultButton = 0; // vb::vbDefaultButton1, 2 or 3
};

namespace MessageBoxSeam {
// Queues the answer of the next message box; several answers are used in the order they were queued.
void setNextAnswer(int answer);
// Every message box asked for since the last clear(), oldest first.
QList<MessageBoxRequest> shown();
// Forgets the queued answers and the recorded boxes.
void clear();
} // namespace MessageBoxSeam

namespace msgbox {
// Splits a style value into its parts; the title is taken as given.
MessageBoxRequest describe(const QString& prompt, int style, const QString& title);
// The answers of a button set, left to right.
QList<int> answersOf(int buttonSet);
// The answer of the default button (the first button when the style names one that is not there).
int defaultAnswer(const MessageBoxRequest& request);
// The answer given when the box is closed without a button (Esc or the close box).
int escapeAnswer(const MessageBoxRequest& request);
// Builds the real box; the caller owns it.
QMessageBox* createMessageBox(const MessageBoxRequest& request, QWidget* parent);
// The answer of a box that has been closed.
int answerOf(const QMessageBox& box, const MessageBoxRequest& request);
} // namespace msgbox
