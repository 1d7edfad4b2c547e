// The record boxes of the records window: revealing a secret, the generator, and the boxes after a file
// was closed.
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
        m_window->Timer1_Timer();
        QVERIFY(masked(*m_window, "txtKey1"));
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

    void theBoxesAreEmptyAfterTheFileIsClosed()
    {
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
