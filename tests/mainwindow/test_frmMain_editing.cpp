// Editing in the records window: add and delete in empty and full files, pending records, and a record
// the disk refuses.
#include "FailingDisk.h"
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "desktop/MessageBox.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using mwtest::child;

namespace {
bool enabled(const frmMain& window, const char* name)
{
    if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name)))
        return action->isEnabled();
    return child(&window, name)->isEnabled();
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
};

QTEST_MAIN(TestFrmMainEditing)
#include "test_frmMain_editing.moc"
