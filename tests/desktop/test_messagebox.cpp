// Message boxes: the test seam (queued answers, what was asked) and the real box the program would show.
#include "desktop/ErrorReporter.h"
#include "desktop/MessageBox.h"
#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { MessageBoxSeam::clear(); }

    void queuedAnswersAreUsedInOrderThenTheDefault()
    {
        MessageBoxSeam::setNextAnswer(vb::vbNo);
        MessageBoxSeam::setNextAnswer(vb::vbCancel);
        QCOMPARE(MsgBox(QStringLiteral("1"), vb::vbYesNoCancel), int(vb::vbNo));
        QCOMPARE(MsgBox(QStringLiteral("2"), vb::vbYesNoCancel), int(vb::vbCancel));
        QCOMPARE(MsgBox(QStringLiteral("3"), vb::vbYesNoCancel | vb::vbDefaultButton3), int(vb::vbCancel));
        MessageBoxSeam::setNextAnswer(vb::vbRetry);
        MessageBoxSeam::clear(); // forgets the queue as well
        QCOMPARE(MsgBox(QStringLiteral("4"), vb::vbRetryCancel | vb::vbDefaultButton2), int(vb::vbCancel));
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
    }

    void recordsWhatWasAskedExactly()
    {
        const QString prompt = QStringLiteral("Invalid Password, try again!\r\n\r\nBEWARE your CAPS key is ON!");
        MsgBox(prompt, vb::vbOKOnly | vb::vbExclamation, QStringLiteral("Login Failed"));
        MsgBox(QStringLiteral("x"), vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2);
        const QList<MessageBoxRequest> shown = MessageBoxSeam::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].prompt, prompt);
        QCOMPARE(shown[0].title, QStringLiteral("Login Failed"));
        QCOMPARE(shown[1].buttons, int(vb::vbYesNo));
        QCOMPARE(shown[1].icon, int(vb::vbQuestion));
        QCOMPARE(shown[1].defaultButton, int(vb::vbDefaultButton2));
        QCOMPARE(shown[1].title, QStringLiteral("Seam Test Program")); // no title: the application's name
    }

    void defaultButtonThatIsNotThereMeansTheFirst()
    {
        QCOMPARE(MsgBox(QStringLiteral("?"), vb::vbOKOnly | vb::vbDefaultButton2), int(vb::vbOK));
        QCOMPARE(MsgBox(QStringLiteral("?"), vb::vbYesNo | vb::vbDefaultButton3), int(vb::vbYes));
        QCOMPARE(MsgBox(QStringLiteral("?"), vb::vbAbortRetryIgnore | vb::vbDefaultButton3), int(vb::vbIgnore));
    }

    // The real box: buttons, default, icon, and the text with CR LF as line breaks, shown as plain text.
    void realBoxMatchesTheRequest()
    {
        const MessageBoxRequest request =
            msgbox::describe(QStringLiteral("<b>one</b>\r\ntwo"),
                             vb::vbYesNoCancel | vb::vbExclamation | vb::vbDefaultButton2, QStringLiteral("TITLE!"));
        std::unique_ptr<QMessageBox> box(msgbox::createMessageBox(request, nullptr));
        QCOMPARE(box->windowTitle(), QStringLiteral("TITLE!"));
        QCOMPARE(box->text(), QStringLiteral("<b>one</b>\ntwo"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->buttons().size(), 3);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        box->button(QMessageBox::Yes)->click();
        QCOMPARE(msgbox::answerOf(*box, request), int(vb::vbYes));
    }

    void escapeGivesTheSafeAnswer_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << int(vb::vbOKOnly) << int(vb::vbOK);
        QTest::newRow("ok cancel") << int(vb::vbOKCancel) << int(vb::vbCancel);
        QTest::newRow("abort retry ignore") << int(vb::vbAbortRetryIgnore) << int(vb::vbAbort);
        QTest::newRow("yes no") << int(vb::vbYesNo) << int(vb::vbNo);
    }
    void escapeGivesTheSafeAnswer()
    {
        QFETCH(int, style);
        QFETCH(int, answer);
        const MessageBoxRequest request = msgbox::describe(QStringLiteral("?"), style, QStringLiteral("T"));
        std::unique_ptr<QMessageBox> box(msgbox::createMessageBox(request, nullptr));
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(msgbox::answerOf(*box, request), answer);
    }

    // The error trap reports through MsgBox, so its box is modal over the program and tests can see it.
    void errorReportIsAMessageBox()
    {
        QTemporaryDir folder; // no BWCLIENT.INI: nothing is written to disk
        bwReset();
        bwSetProgramFolder(folder.path());
        installMessageBoxReporter();
        int runs = 0;
        bwHandler("frmMain.frm", "Sub cmdGoUrl_Click", [&] {
            ++runs;
            throw RuntimeError(BwErr::FileNotFound, QStringLiteral("File not found"));
        });
        bwReset();
        QCOMPARE(runs, 1); // answered with "leave"
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest shown = MessageBoxSeam::shown().first();
        QCOMPARE(shown.prompt,
                 QStringLiteral("An unexpected 'File not found' error occurred in frmMain.frm Sub cmdGoUrl_Click"));
        QCOMPARE(shown.buttons | shown.icon, vb::vbOKOnly | vb::vbCritical);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Seam Test Program"));
    TestMessageBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_messagebox.moc"
