// Import... and Export... from the records window: enabled with a data file (Import not for one open for
// viewing), the preview before anything is written (format, counts, secrets masked), the summary after,
// a cancelled preview writing nothing, and the export behind the master password, told it is not
// encrypted, written for its owner only.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "desktop/FileDialog.h"
#include "desktop/MessageBox.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <sys/stat.h>

using mwtest::child;

namespace {
bool enabled(const frmMain& window, const char* name)
{
    return window.findChild<QObject*>(QString::fromLatin1(name))->property("enabled").toBool();
}

// What the preview showed, and the answer given to it.
struct Preview
{
    QString summary;
    QStringList firstRow;
    int rows = -1;
    bool suspended = false;
};

void answerPreview(frmMain& window, Preview& seen, const char* button)
{
    mwtest::whenModalShows([&window, &seen, button](QWidget* dialog) {
        seen.suspended = window.SuspendOnTop();
        seen.summary = child<QLabel>(dialog, "lblSummary")->text();
        auto* list = child<QTableWidget>(dialog, "grdPreview");
        seen.rows = list->rowCount();
        for (int column = 0; seen.rows > 0 && column < list->columnCount(); ++column)
            seen.firstRow << list->item(0, column)->text();
        child<QPushButton>(dialog, button)->click();
    });
}
} // namespace

class TestFrmMainImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<mwtest::Environment> m_env;
    std::unique_ptr<frmMain> m_window;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<mwtest::Environment>();
        mwtest::logIn();
        Options.AutoLoad = false;
        m_window = mwtest::loadedWindow();
    }

    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void importWithPreviewAndSummaryThenExport()
    {
        QVERIFY(!enabled(*m_window, "mnuFileImport"));
        QVERIFY(!enabled(*m_window, "imgTBexport"));
        const QString file = mwtest::makeFile(*m_env, "vault.lwd", mwtest::realisticRecords());
        FileDialogSeam::setNextFileName(file);
        m_window->mnuFileOpen_Click();
        for (const char* command : {"mnuFileImport", "mnuFileExport", "imgTBimport", "imgTBexport"})
            QVERIFY2(enabled(*m_window, command), command);

        const QString bitwarden = qEnvironmentVariable("LW_TEST_DATA") + "/import/bitwarden.csv";
        FileDialogSeam::clear();
        FileDialogSeam::setNextFileName(bitwarden);
        MessageBoxSeam::clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        Preview preview;
        answerPreview(*m_window, preview, "cmdImport");
        m_window->mnuFileImport_Click();
        QCOMPARE(FileDialogSeam::shown().value(0).title, "Import Accounts");
        QVERIFY(preview.suspended);
        QVERIFY(preview.summary.startsWith("<b>Bitwarden CSV</b> &mdash; bitwarden.csv<br>Accounts to import: <b>3</b>"
                                           "<br>Skipped as duplicates: 0<br>Skipped as not a login: 2"));
        QCOMPARE(preview.rows, 3);
        QCOMPARE(preview.firstRow, (QStringList{"Git Forge", "https://git.example.com/login", "alice", "********",
                                                "Use the \"admin\" account"}));
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown().first().title, "IMPORT COMPLETE");
        QVERIFY(
            MessageBoxSeam::shown().first().prompt.startsWith("Bitwarden CSV: 3 imported\r\nSkipped as duplicates: "
                                                              "0\r\nSkipped as not a login: 2\r\nChanged to fit: 1\r\n"
                                                              "  line 7, \"shop.example.org\": it had no name"));
        QCOMPARE(m_window->statusPanel(1), "23 Accounts stored.");
        QCOMPARE(fixtures::readAccounts(file, mwtest::dataFilePassword()).size(), 23);
        QVERIFY(!m_window->SuspendOnTop());

        // The same file again: all three are there already; Cancel writes nothing and says nothing.
        FileDialogSeam::setNextFileName(bitwarden);
        MessageBoxSeam::clear();
        Preview again;
        answerPreview(*m_window, again, "cmdCancel");
        m_window->mnuFileImport_Click();
        QVERIFY(again.summary.contains("Accounts to import: <b>0</b><br>Skipped as duplicates: 3"));
        QCOMPARE(MessageBoxSeam::shown().size(), 0);
        QCOMPARE(fixtures::readAccounts(file, mwtest::dataFilePassword()).size(), 23);

        // Export: the master password first, then the one line about the file being in clear.
        const QString exported = m_env->path("vault.csv");
        frmMain::queueConfirmation("secret1");
        FileDialogSeam::setNextFileName(exported);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        m_window->mnuFileExport_Click();
        QCOMPARE(MessageBoxSeam::shown().value(0).title, "EXPORT NOT ENCRYPTED!");
        QCOMPARE(MessageBoxSeam::shown().value(0).prompt,
                 "The exported file is not encrypted: anyone who can read it sees every password.");
        QCOMPARE(MessageBoxSeam::shown().value(1).prompt, "23 accounts were written to:\r\n" + exported);
        QFile csv(exported);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("\"Account\",\"URL\",\"IDtext\""));
        QCOMPARE(csv.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

        // A wrong password exports nothing.
        QFile::remove(exported);
        MessageBoxSeam::clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        frmMain::queueConfirmation("wrong");
        m_window->mnuFileExport_Click();
        QVERIFY(!QFile::exists(exported));
    }

    void aFileOpenForViewingExportsButTakesNoImport()
    {
        const QString file = mwtest::makeFile(*m_env, "viewed.lwd", mwtest::accounts({"Alpha"}));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        FileDialogSeam::setNextFileName(file);
        m_window->mnuFileOpen_Click();
        QVERIFY(!enabled(*m_window, "mnuFileImport"));
        QVERIFY(!enabled(*m_window, "imgTBimport"));
        QVERIFY(enabled(*m_window, "mnuFileExport"));
        MessageBoxSeam::clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        m_window->mnuFileImport_Click(); // reached some other way, it refuses
        QCOMPARE(MessageBoxSeam::shown().value(0).title, "READ-ONLY DATA FILE!");
        QCOMPARE(FileDialogSeam::shown().size(), 1); // only the Open dialog
    }
};

QTEST_MAIN(TestFrmMainImport)
#include "test_frmMain_import.moc"
