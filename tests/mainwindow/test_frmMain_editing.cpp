// Editing in the records window: add, delete and abandon in empty and full files, pending records,
// Enter in the record boxes, the commands enabled in the three record states, and a record the disk
// refuses.
#include "FailingDisk.h"
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "desktop/MessageBox.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using mwtest::child;

namespace {
bool enabled(const frmMain& window, const char* name)
{
    if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name)))
        return action->isEnabled();
    return child(&window, name)->isEnabled();
}

bool toolBarButtonEnabled(const frmMain& window, const char* key)
{
    for (QAction* button : child<QToolBar>(&window, "tbToolBar")->actions()) {
        if (button->property("key").toString() == QLatin1String(key))
            return button->isEnabled();
    }
    qFatal("no tool bar button %s", key);
}

QString picture(const frmMain& window, const char* image)
{
    return child<PictureButton>(&window, image)->pictureName();
}
} // namespace

class TestFrmMainEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    QString m_file;
    std::unique_ptr<frmMain> m_window;

    void open(const QList<fixtures::Record>& records)
    {
        m_window.reset();
        m_file = mwtest::makeFile(*m_env, QStringLiteral("editing.lwd"), records);
        m_window = mwtest::loadedWindow(m_file);
        QVERIFY(m_window->isDataFileOpen());
    }
    QStringList stored() const { return fixtures::readAccounts(m_file, mwtest::dataFilePassword()); }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(m_window.get(), name); }
    Recordset& records() const { return *m_window->recordset(); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void addInAnEmptyFileStartsARecordAndANamelessOneIsNeverWritten()
    {
        open({});
        QVERIFY(!box("txtAccount")->isEnabled());
        m_window->cmdAdd_Click();
        QCOMPARE(records().editMode(), int(Recordset::EditAdd));
        QVERIFY(box("txtAccount")->isEnabled());
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("1 Accounts stored."));
        QVERIFY(child(m_window.get(), "txtDataInform")->isHidden());
        box("txtID")->setText(QStringLiteral("someone"));
        m_window->cmdAdd_Click(); // the nameless record is dropped, the next one starts
        QVERIFY(stored().isEmpty());
        QCOMPARE(records().recordCount(), 1);
        QCOMPARE(m_window->boxText("txtID"), QString());
    }

    void addWithANameStoresItAndStartsTheNext()
    {
        open(mwtest::accounts({"Alpha"}));
        m_window->cmdAdd_Click();
        mwtest::typeInto(box("txtAccount"), QStringLiteral("Zoom"));
        box("txtPW")->setText(QStringLiteral("Me3ting!"));
        m_window->cmdAdd_Click();
        QCOMPARE(stored(), QStringList({"Alpha|https://alpha.example", "Zoom|||Me3ting!"}));
        QCOMPARE(records().editMode(), int(Recordset::EditAdd));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("3 Accounts stored."));
    }

    void addDropsAChangeThatClearedTheAccountName()
    {
        open(mwtest::accounts({"Alpha", "Beta"}));
        box("txtAccount")->clear();
        box("txtURL")->setText(QStringLiteral("changed"));
        QCOMPARE(records().editMode(), int(Recordset::EditInProgress));
        m_window->cmdAdd_Click();
        QCOMPARE(stored(), QStringList({"Alpha|https://alpha.example", "Beta|https://beta.example"}));
        QCOMPARE(records().editMode(), int(Recordset::EditAdd));
    }

    void movingOffAChangedRecordWritesIt()
    {
        open(mwtest::accounts({"Alpha", "Beta"}));
        box("txtID")->setText(QStringLiteral("alice"));
        child<QToolButton>(child(m_window.get(), "Adodc1"), "cmdNext")->click();
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Beta"));
        QCOMPARE(stored().first(), QStringLiteral("Alpha|https://alpha.example|alice"));
    }

    void aRecordTheDiskRefusesStaysPendingAndTheUserIsTold()
    {
        FailingDisk disk;
        open(mwtest::accounts({"Alpha", "Beta"}));
        box("txtID")->setText(QStringLiteral("alice"));
        disk.fail();
        // Choosing the next record: this one cannot be written, so the window stays on it and says why.
        auto* grid = child<QTableView>(m_window.get(), "DataGrid1");
        grid->selectRow(1);
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        const MessageBoxRequest told = MessageBoxSeam::shown().first();
        QCOMPARE(told.title, QStringLiteral("RECORD NOT SAVED!"));
        QVERIFY2(
            told.prompt.startsWith(QStringLiteral("The record \"Alpha\" could not be saved because the disk is full.")),
            qPrintable(told.prompt));
        QCOMPARE(grid->currentIndex().row(), 0);
        QCOMPARE(m_window->boxText("txtID"), QStringLiteral("alice"));
        QCOMPARE(records().editMode(), int(Recordset::EditInProgress));

        // Ending the program asks first; kept open, the change is still there.
        MessageBoxSeam::setNextAnswer(vb::vbNo);
        QVERIFY(!m_window->close());
        QCOMPARE(MessageBoxSeam::shown().size(), 2);
        QCOMPARE(MessageBoxSeam::shown().last().title, QStringLiteral("RECORD NOT SAVED!"));
        QCOMPARE(MessageBoxSeam::shown().last().buttons, int(vb::vbYesNo));
        QVERIFY(!m_window->isFormUnloaded());
        QCOMPARE(m_window->boxText("txtID"), QStringLiteral("alice"));
        disk.heal();
        QVERIFY(m_window->close());
        QCOMPARE(stored(), QStringList({"Alpha|https://alpha.example|alice", "Beta|https://beta.example"}));
    }

    void deleteRemovesTheCurrentRecordWithoutAskingDownToAnEmptyFile()
    {
        open(mwtest::accounts({"Alpha", "Beta", "Gamma"}));
        records().moveNext();
        m_window->cmdClear_Click();
        QCOMPARE(stored(), QStringList({"Alpha|https://alpha.example", "Gamma|https://gamma.example"}));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("2 Accounts stored."));
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Gamma")); // the next one takes its place
        m_window->cmdClear_Click();
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Alpha"));
        m_window->cmdClear_Click();
        QVERIFY(stored().isEmpty());
        QVERIFY(!child(m_window.get(), "txtDataInform")->isHidden());
        QVERIFY(!enabled(*m_window, "cmdClear"));
        QVERIFY(!box("txtAccount")->isEnabled());
        m_window->cmdClear_Click(); // nothing left to delete
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("0 Accounts stored."));
    }

    void deleteWhileANewRecordIsPendingAbandonsItAndSortsAgain()
    {
        open(mwtest::accounts({"Alpha", "Beta", "Gamma"}));
        m_window->DataGrid1_HeadClick(1);
        m_window->DataGrid1_HeadClick(1); // URL descending
        m_window->cmdAdd_Click();
        box("txtAccount")->setText(QStringLiteral("Delta"));
        m_window->cmdClear_Click();
        QCOMPARE(stored().size(), 3);
        QCOMPARE(records().recordCount(), 3);
        QCOMPARE(records().sort(), QStringLiteral("URL DESC"));
        QCOMPARE(records().valueAt(0, 0), QStringLiteral("Gamma"));
        QCOMPARE(m_window->statusPanel(1), QStringLiteral("3 Accounts stored."));
    }

    void enterMovesOnExceptInTheInformationBox()
    {
        open(mwtest::accounts({"Alpha"}));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        box("txtAccount")->setFocus();
        QTest::keyClick(box("txtAccount"), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), child(m_window.get(), "txtURL"));
        auto* hint = child<QPlainTextEdit>(m_window.get(), "txtHint");
        hint->setFocus();
        QTest::keyClick(hint, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), child(m_window.get(), "txtKey1Label"));
        QVERIFY(hint->toPlainText().isEmpty());
        auto* info = child<QPlainTextEdit>(m_window.get(), "txtINFO");
        info->setFocus();
        QTest::keyClicks(info, QStringLiteral("a"));
        QTest::keyClick(info, Qt::Key_Return);
        QTest::keyClicks(info, QStringLiteral("b"));
        QCOMPARE(info->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(QApplication::focusWidget(), info);
    }

    // The commands in the three states: no file, an empty file, a file with records.
    void theCommandsFollowTheFileState()
    {
        Options.AutoLoad = false;
        m_window = mwtest::loadedWindow();
        for (const char* on : {"mnuFileOpen", "mnuOpenSpecial", "mnuNewDB", "imgTBopen", "imgTBunlock", "imgTBnew"})
            QVERIFY2(enabled(*m_window, on), on);
        QVERIFY(toolBarButtonEnabled(*m_window, "Open"));
        for (const char* off : {"mnuFileClose", "mnuFileSaveAs", "mnuFilePrint", "imgTBsave", "imgTBprint",
                                "imgTBclose", "mnuAddEntry", "cmdAdd", "imgAddNew", "mnuDeleteEntry", "cmdClear",
                                "cmdRP", "Adodc1", "Frame2", "txtAccount", "cmdSP", "imgSP"})
            QVERIFY2(!enabled(*m_window, off), off);
        QVERIFY(!toolBarButtonEnabled(*m_window, "SaveAs"));
        QVERIFY(child(m_window.get(), "Frame3")->isHidden());
        QCOMPARE(picture(*m_window, "imgTBsave"), QStringLiteral("TB-DISABLED"));

        open({});
        for (const char* on : {"mnuFileClose", "mnuFileSaveAs", "mnuFilePrint", "imgTBsave", "imgTBclose", "cmdAdd",
                               "mnuAddEntry", "imgAddNew", "Frame2"})
            QVERIFY2(enabled(*m_window, on), on);
        for (const char* off :
             {"mnuFileOpen", "mnuNewDB", "imgTBopen", "imgTBunlock", "imgTBnew", "cmdClear", "mnuDeleteEntry", "cmdRP",
              "Adodc1", "txtAccount", "txtKey4Label", "cmdKey4", "imgKey4", "cmdGoUrl"})
            QVERIFY2(!enabled(*m_window, off), off);
        QVERIFY(!toolBarButtonEnabled(*m_window, "Open"));
        QVERIFY(!child(m_window.get(), "Frame3")->isHidden());
        QCOMPARE(picture(*m_window, "imgTBsave"), QStringLiteral("SAVEUP"));
        QCOMPARE(picture(*m_window, "imgTBopen"), QStringLiteral("TB-DISABLED"));

        open(mwtest::accounts({"Alpha"}));
        for (const char* on : {"cmdAdd", "cmdClear", "mnuDeleteEntry", "cmdRP", "imgRP", "Adodc1", "txtAccount",
                               "txtINFO", "cmdInfo", "txtKey1Label", "txtKey1", "cmdKey1", "cmdGoUrl", "imgGoUrl"})
            QVERIFY2(enabled(*m_window, on), on);
    }
};

QTEST_MAIN(TestFrmMainEditing)
#include "test_frmMain_editing.moc"
