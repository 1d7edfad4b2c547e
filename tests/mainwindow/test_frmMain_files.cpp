// The data file commands run from the records window: every way out of a file keeping what was typed; a
// file that cannot be written shown for viewing only. Which password opens whose file is the commands' own
// business, tested with them.
#include "MainWindowFixture.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileCommands.h"
#include "desktop/FileDialog.h"
#include "desktop/MessageBox.h"
#include "mainwindow/frmMain.h"
#include "storage/Recordset.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <sys/stat.h>

using mwtest::child;

class TestFrmMainFiles : public QObject
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

    void everyWayOutKeepsThePendingRecord_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("othersFile");
        QTest::addColumn<QString>("pending");
        const auto row = [](const char* way, bool others, const char* pending) {
            QTest::addRow("%s, %s, %s", way, others ? "another user's file" : "own file", pending)
                << QString::fromLatin1(way) << others << QString::fromLatin1(pending);
        };
        row("exit", false, "new record");
        row("exit", true, "new record");
        row("exit", true, "changed record");
        row("exit", false, "nameless record");
        row("close", true, "new record");
        row("close", true, "changed record");
        row("open", true, "new record");
        row("new", false, "changed record");
        row("save as", true, "nameless record");
    }

    // Whatever ends the work on a file, a record typed and not yet stored reaches it, whichever password
    // opened the file; one without an account name never does. Closing another user's file drops a
    // half-entered new record, and only that.
    void everyWayOutKeepsThePendingRecord()
    {
        QFETCH(QString, way);
        QFETCH(bool, othersFile);
        QFETCH(QString, pending);
        const QString alicesPassword = QStringLiteral("alice pw");
        const QString file = m_env->path(QStringLiteral("vault.lwd"));
        const QString filePassword = othersFile ? alicesPassword + QStringLiteral("K7352") : mwtest::dataFilePassword();
        fixtures::makeDataFile(file, filePassword, mwtest::accounts({"Alpha", "Beta"}));
        Options.DBpath = file;
        if (othersFile)
            m_window->fileCommands().openPassword = SecretText(alicesPassword);
        QVERIFY(m_window->fileCommands().connection().DBconnect(m_window->fileCommands().openPassword));

        if (pending == QLatin1String("changed record")) {
            child<QLineEdit>(m_window.get(), "txtID")->setText(QStringLiteral("alpha's id"));
        } else {
            m_window->cmdAdd_Click();
            if (pending == QLatin1String("new record"))
                child<QLineEdit>(m_window.get(), "txtAccount")->setText(QStringLiteral("Gamma"));
            child<QLineEdit>(m_window.get(), "txtPW")->setText(QStringLiteral("typed"));
        }

        // Where the record should be now, and under which password.
        QString holder = file;
        QString holderPassword = othersFile ? filePassword : mwtest::dataFilePassword();
        MessageBoxSeam::setNextAnswer(vb::vbOK); // the password note of Save As
        if (way == QLatin1String("exit")) {
            QVERIFY(m_window->close());
        } else if (way == QLatin1String("close")) {
            m_window->mnuFileClose_Click();
        } else if (way == QLatin1String("open")) {
            FileDialogSeam::setNextFileName(mwtest::makeFile(*m_env, QStringLiteral("other.lwd"), {}));
            m_window->mnuFileOpen_Click();
        } else if (way == QLatin1String("new")) {
            Options.ShowNew = true;
            FileDialogSeam::setNextFileName(m_env->path(QStringLiteral("new.lwd")));
            m_window->mnuNewDB_Click();
        } else {
            holder = m_env->path(QStringLiteral("copy.lwd"));
            holderPassword = mwtest::dataFilePassword();
            FileDialogSeam::setNextFileName(holder);
            m_window->mnuFileSaveAs_Click();
        }
        QVERIFY(!m_window->isDataFileOpen() || Options.DBpath != file);

        QStringList expected = {"Alpha|https://alpha.example", "Beta|https://beta.example"};
        if (pending == QLatin1String("changed record"))
            expected[0] += QStringLiteral("|alpha's id");
        else if (pending == QLatin1String("new record") && !(way == QLatin1String("close") && othersFile))
            expected << QStringLiteral("Gamma|||typed");
        QCOMPARE(fixtures::readAccounts(holder, holderPassword), expected);
    }

    void aFileThatCannotBeWrittenIsShownAndLeftAsItWas()
    {
        const QString folder = m_env->path(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = mwtest::makeFile(*m_env, QStringLiteral("shared/vault.lwd"), mwtest::accounts({"Alpha"}));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        const fixtures::FolderSnapshot before(folder);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        FileDialogSeam::setNextFileName(file);
        m_window->mnuFileOpen_Click();
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown().first().title, QStringLiteral("READ-ONLY DATA FILE!"));
        QCOMPARE(m_window->boxText("txtAccount"), QStringLiteral("Alpha"));
        // Shown, copied, never changed: the boxes take no typing, and nothing adds, deletes or generates.
        for (const char* command : {"cmdAdd", "cmdClear", "cmdRP", "mnuAddEntry", "mnuDeleteEntry"}) {
            const QObject* control = m_window->findChild<QObject*>(QString::fromLatin1(command));
            QVERIFY2(!control->property("enabled").toBool(), command);
        }
        QVERIFY(child<QLineEdit>(m_window.get(), "txtAccount")->isReadOnly());
        QVERIFY(child<QPlainTextEdit>(m_window.get(), "txtINFO")->isReadOnly());
        QVERIFY(child(m_window.get(), "cmdAccount")->isEnabled());
        QVERIFY(m_window->close());
        QVERIFY(before == fixtures::FolderSnapshot(folder)); // not compacted either
    }
};

QTEST_MAIN(TestFrmMainFiles)
#include "test_frmMain_files.moc"
