// The record boxes of the records window: copying, revealing for PeekTime seconds, the masks, the
// generator, the information box and the boxes after a file was closed.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "desktop/Clipboard.h"
#include "mainwindow/SecretReveal.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using mwtest::child;

namespace {
const char* const kSecrets[] = {"txtPW", "txtKey1", "txtKey2", "txtKey3", "txtKey4"};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool clipboardMarkedSecret()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->data(QString::fromLatin1(kPasswordManagerHint)) == QByteArray(kPasswordManagerHintSecret);
}

bool masked(const frmMain& window, const char* box)
{
    return child<QLineEdit>(&window, box)->echoMode() == QLineEdit::Password;
}

QList<fixtures::Record> secretRecords()
{
    return {{"Alpha", "https://alpha.example", "", "pw-alpha", "note", "PIN", "1111", "Word", "2222", "", "3333", "",
             "4444", "line 1\r\nline 2"},
            {"Beta", "https://beta.example", "bert", "pw-beta", "", "PIN", "9999"}};
}

// Answers the generator when it comes up: accepts `password`, or cancels when it is empty.
void answerGenerator(const QString& password)
{
    mwtest::whenModalShows([password](QWidget* dialog) {
        if (password.isEmpty()) {
            child<QPushButton>(dialog, "cmdCancel")->click();
            return;
        }
        child<QLineEdit>(dialog, "txtRandom")->setText(password);
        child<QPushButton>(dialog, "cmdAccept")->click();
    });
}

// The lines a box shows, against a text whose line breaks are CR LF.
QStringList shownLines(const QPlainTextEdit* box)
{
    return box->toPlainText().split(QLatin1Char('\n'));
}
QStringList linesOf(const QString& text)
{
    return text.split(QStringLiteral("\r\n"));
}
} // namespace

class TestFrmMainRecords : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    QString m_file;
    std::unique_ptr<frmMain> m_window;

    QStringList stored() const { return fixtures::readAccounts(m_file, mwtest::dataFilePassword()); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        m_file = mwtest::makeFile(*m_env, QStringLiteral("records.lwd"), secretRecords());
        m_window = mwtest::loadedWindow(m_file);
        QVERIFY(m_window->isDataFileOpen());
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void copyPutsThePlainTextWithoutTheSecretHint()
    {
        m_window->cmdURL_Click();
        QCOMPARE(clipboardText(), QStringLiteral("https://alpha.example"));
        QVERIFY(!clipboardMarkedSecret());
        m_window->cmdInfo_Click(); // a multi-line box as it shows its text
        QCOMPARE(clipboardText(), QStringLiteral("line 1\nline 2"));
        setClipboardText(QStringLiteral("left over")); // an empty field leaves an empty text
        m_window->cmdName_Click();
        QCOMPARE(clipboardText(), QString());
    }

    void revealUnmasksOneBoxAndCopiesItAsASecret()
    {
        for (const char* box : kSecrets)
            QVERIFY(masked(*m_window, box));
        m_window->cmdKey1_Click();
        QCOMPARE(clipboardText(), QStringLiteral("1111"));
        QVERIFY(clipboardMarkedSecret());
        QVERIFY(!masked(*m_window, "txtKey1"));
        QVERIFY(masked(*m_window, "txtPW"));
        QVERIFY(m_window->secretReveal().Timer1().isActive());
        QCOMPARE(m_window->secretReveal().Timer1().interval(), 10 * 1000);
        // The mask belongs to the box, not the record: the next record's key shows until the tick.
        m_window->recordset()->moveNext();
        QCOMPARE(m_window->boxText("txtKey1"), QStringLiteral("9999"));
        QVERIFY(!masked(*m_window, "txtKey1"));
        m_window->Timer1_Timer();
        QVERIFY(masked(*m_window, "txtKey1"));
    }

    void oneTimerMasksEverySecretAfterTheLastReveal()
    {
        Options.PeekTime = 5;
        m_window->cmdSP_Click();
        QTest::qWait(1000);
        const int leftBeforeSecondReveal = m_window->secretReveal().Timer1().remainingTime();
        m_window->cmdKey1_Click();
        // The second reveal gives the full time again, counted from now (compared with what was left, so a
        // slow machine cannot fail it).
        QVERIFY(m_window->secretReveal().Timer1().remainingTime() > leftBeforeSecondReveal);
        QCOMPARE(m_window->secretReveal().Timer1().interval(), 5000);
        QVERIFY(!masked(*m_window, "txtPW"));
        QVERIFY(!masked(*m_window, "txtKey1"));
        m_window->Timer1_Timer();
        for (const char* box : kSecrets)
            QVERIFY(masked(*m_window, box));
        QVERIFY(!m_window->secretReveal().Timer1().isActive());
        QCOMPARE(m_window->secretReveal().Timer1().interval(), 0);
    }

    void theTimerFiresOnItsOwn()
    {
        Options.PeekTime = 1;
        m_window->cmdKey3_Click();
        QTRY_VERIFY_WITH_TIMEOUT(masked(*m_window, "txtKey3"), 3000);
    }

    void anAcceptedPasswordIsWrittenAtOnceACancelledOneChangesNothing()
    {
        const QStringList before = stored();
        answerGenerator(QString());
        m_window->cmdRP_Click();
        QCOMPARE(m_window->boxText("txtPW"), QStringLiteral("pw-alpha"));
        QCOMPARE(stored(), before);

        m_window->recordset()->moveNext(); // Beta
        answerGenerator(QStringLiteral("N3w!Gen8"));
        m_window->cmdRP_Click();
        QCOMPARE(m_window->boxText("txtPW"), QStringLiteral("N3w!Gen8"));
        QCOMPARE(m_window->recordset()->editMode(), int(Recordset::EditNone));
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Beta"));
        QCOMPARE(stored().at(1), QStringLiteral("Beta|https://beta.example|bert|N3w!Gen8||PIN|9999"));
        QCOMPARE(child<QLineEdit>(m_window.get(), "txtPW")->selectedText(), QStringLiteral("N3w!Gen8"));
    }

    void theInformationBoxTellsTheState()
    {
        auto* inform = child<QPlainTextEdit>(m_window.get(), "txtDataInform");
        QVERIFY(inform->isHidden());

        const QString empty = mwtest::makeFile(*m_env, QStringLiteral("empty.lwd"), {});
        auto emptyWindow = mwtest::loadedWindow(empty);
        auto* emptyInform = child<QPlainTextEdit>(emptyWindow.get(), "txtDataInform");
        QVERIFY(!emptyInform->isHidden());
        QCOMPARE(
            shownLines(emptyInform),
            linesOf(QStringLiteral("NO RECORDS STORED\r\nClick the ADD NEW button to\r\ncreate the first record.")));

        Options.AutoLoad = false;
        auto noFileWindow = mwtest::loadedWindow();
        auto* noFileInform = child<QPlainTextEdit>(noFileWindow.get(), "txtDataInform");
        QVERIFY(!noFileInform->isHidden());
        QCOMPARE(shownLines(noFileInform),
                 linesOf(QStringLiteral("NO DATA FILE LOADED\r\nPlease OPEN or create a NEW data file.")));
    }

    void theBoxesAreEmptyAfterTheFileIsClosed()
    {
        m_window->RefreshTextControls(); // a file is open: nothing happens
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Alpha"));

        m_window->recordset()->close();
        m_window->recordset()->detach();
        m_window->RefreshTextControls();
        for (const char* box :
             {"txtAccount", "txtPW", "txtURL", "txtID", "txtHint", "txtINFO", "txtKey1Label", "txtKey1", "txtKey2Label",
              "txtKey2", "txtKey3Label", "txtKey3", "txtKey4Label", "txtKey4"})
            QVERIFY2(m_window->boxText(box).isEmpty(), box);
    }
};

QTEST_MAIN(TestFrmMainRecords)
#include "test_frmMain_records.moc"
