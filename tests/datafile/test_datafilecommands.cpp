// The data file commands: New Data File, Open With Password, Save As and Close, with their questions and
// the state they leave behind.
#include "DataFileFixtures.h"
#include "FakeDataFileHost.h"
#include "TestSupport.h"
#include "app/ProgramSettings.h"
#include "datafile/DataFileCommands.h"
#include "datafile/frmImport.h"
#include "datafile/frmNewFile.h"
#include "desktop/FileDialog.h"
#include "desktop/MessageBox.h"
#include "storage/Recordset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {
const QString kBobFile = QStringLiteral("bobpassK7352");
const QString kAliceFile = QStringLiteral("alicepwK7352");

using support::whenModal;

QString overwritePrompt(const QString& path)
{
    return QStringLiteral("THIS FILE ALREADY EXISTS!\r\n\r\nDo You Want To Overwrite:\r\n") + path +
           QStringLiteral("\r\n");
}
} // namespace

class TestDataFileCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_bobs;
    QString m_alices;
    std::unique_ptr<FakeDataFileHost> m_host;
    std::unique_ptr<DataFileCommands> m_commands;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString copyOf(const QString& source, const QString& name) const
    {
        QFile::copy(source, path(name));
        return path(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
        fixtures::logIn(QStringLiteral("BOB"), QStringLiteral("bobpass"));
        m_bobs = path(QStringLiteral("bob.src"));
        m_alices = path(QStringLiteral("alice.src"));
        fixtures::makeDataFile(m_bobs, kBobFile, {{"bank"}, {"mail"}});
        fixtures::makeDataFile(m_alices, kAliceFile, {{"alice's bank"}});
    }

    void init()
    {
        m_host = std::make_unique<FakeDataFileHost>();
        m_commands = std::make_unique<DataFileCommands>(*m_host);
        MessageBoxSeam::clear();
        FileDialogSeam::clear();
        Options = ProgramOptions();
    }

    void newDataFileAsksBeforeOverwriting()
    {
        const QString existing = copyOf(m_bobs, QStringLiteral("existing.lwd"));
        const fixtures::FolderSnapshot before(m_dir.path());
        // No: the dialog comes back (and is cancelled); Cancel: the command ends.
        FileDialogSeam::setNextFileName(existing);
        MessageBoxSeam::setNextAnswer(vb::vbNo);
        FileDialogSeam::setNextFileName(QString());
        m_commands->mnuNewDB_Click();
        FileDialogSeam::setNextFileName(existing);
        MessageBoxSeam::setNextAnswer(vb::vbCancel);
        m_commands->mnuNewDB_Click();

        const QList<FileDialogRequest> dialogs = FileDialogSeam::shown();
        QCOMPARE(dialogs.size(), 3);
        QCOMPARE(dialogs[0].title, QStringLiteral("Choose Data File to Create"));
        QCOMPARE(MessageBoxSeam::shown().size(), 2);
        const MessageBoxRequest box = MessageBoxSeam::shown().first();
        QCOMPARE(box.title, QStringLiteral("FILE EXISTS!"));
        QCOMPARE(box.prompt, overwritePrompt(existing));
        QCOMPARE(box.buttons | box.icon | box.defaultButton, vb::vbYesNoCancel | vb::vbCritical | vb::vbDefaultButton2);
        QVERIFY(before == fixtures::FolderSnapshot(m_dir.path()));
        QCOMPARE(Options.DBpath, QString());
        QVERIFY(!m_host->suspendOnTop);
    }

    void aNewDataFileIsNeverUnencrypted()
    {
        // The disk fills up while the new file is written: the compaction's message, nothing opened and
        // nothing left behind. No file can grow past 12 KB here: the 8 KB template can be written, an
        // encrypted page of 16 KB cannot.
        const QString file = path(QStringLiteral("never plain.lwd"));
        FileDialogSeam::setNextFileName(file);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        {
            rlimit before{};
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
            const rlimit full{12288, before.rlim_max};
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
            m_commands->mnuNewDB_Click();
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, previous);
        }
        QCOMPARE(MessageBoxSeam::shown().size(), 1);
        QCOMPARE(MessageBoxSeam::shown().first().title, QStringLiteral("DATABASE COMPACT ERROR!"));
        QVERIFY(!m_host->control.isDataFileOpen());
        QVERIFY(!QFile::exists(file));
        QVERIFY(
            QDir(m_dir.path()).entryList({QStringLiteral(".lockwell*")}, QDir::AllEntries | QDir::Hidden).isEmpty());

        // With room: a file that is encrypted from its first page.
        Options.ShowNew = true;
        FileDialogSeam::setNextFileName(file);
        m_commands->mnuNewDB_Click();
        QVERIFY(m_host->control.isDataFileOpen());
        QFile created(file);
        QVERIFY(created.open(QIODevice::ReadOnly));
        QVERIFY(!created.read(16).startsWith("SQLite format 3"));
    }

    void openSpecialOpensAnotherUsersFileOrForgetsTheWrongPassword()
    {
        const QString file = copyOf(m_alices, QStringLiteral("alice.lwd"));
        whenModal<frmImport>([](frmImport* dialog) {
            dialog->setPassword(QStringLiteral("wrong1"));
            dialog->cmdOK_Click();
        });
        FileDialogSeam::setNextFileName(file);
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        m_commands->mnuOpenSpecial_Click();
        QCOMPARE(MessageBoxSeam::shown().first().title, QStringLiteral("PASSWORD MISMATCH!"));
        QCOMPARE(m_commands->openPassword.exposed().text(), QString());
        QCOMPARE(Options.DBpath, QString());

        whenModal<frmImport>([](frmImport* dialog) {
            dialog->setPassword(QStringLiteral("alicepw"));
            dialog->cmdOK_Click();
        });
        FileDialogSeam::setNextFileName(file);
        m_commands->mnuOpenSpecial_Click();
        QVERIFY(m_host->control.isDataFileOpen());
        QCOMPARE(m_commands->openPassword.exposed().text(), QStringLiteral("alicepw"));

        // Save As of that file: the note first, then a copy that is the logged-in user's.
        FileDialogSeam::setNextFileName(path(QStringLiteral("now bob's.lwd")));
        MessageBoxSeam::clear();
        MessageBoxSeam::setNextAnswer(vb::vbOK);
        m_commands->mnuFileSaveAs_Click();
        const MessageBoxRequest note = MessageBoxSeam::shown().first();
        QCOMPARE(note.title, QStringLiteral("NOTE SAVE PASSWORD!"));
        QCOMPARE(note.prompt, QStringLiteral("PLEASE NOTE:\r\n\r\nThe DataFile will be saved using your usual Login "
                                             "Password.\r\nNOT the \"open\" password you supplied earlier!"));
        QCOMPARE(FileDialogSeam::shown().last().title, QStringLiteral("Save Data File As..."));
        QCOMPARE(Options.DBpath, path(QStringLiteral("now bob's.lwd")));
        QVERIFY(m_host->control.isDataFileOpen());
        QCOMPARE(m_commands->openPassword.exposed().text(), QString());
        QCOMPARE(fixtures::readAccounts(Options.DBpath, kBobFile), QStringList({"alice's bank"}));
        QCOMPARE(fixtures::readAccounts(file, kAliceFile), QStringList({"alice's bank"}));
    }

    void saveAsOverTheOpenFileKeepsItsRecords()
    {
        const QString file = copyOf(m_bobs, QStringLiteral("save over me.lwd"));
        Options.DBpath = file;
        QVERIFY(m_commands->connection().DBconnect(SecretText()));
        m_host->control.recordset()->setValue(QStringLiteral("URL"), QStringLiteral("https://bank.example"));
        FileDialogSeam::setNextFileName(file);
        MessageBoxSeam::setNextAnswer(vb::vbYes);
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(MessageBoxSeam::shown().size(), 1); // only the overwrite question
        QCOMPARE(Options.DBpath, file);
        QVERIFY(m_host->control.isDataFileOpen());
        QCOMPARE(fixtures::readAccounts(file, kBobFile), QStringList({"bank|https://bank.example", "mail"}));
    }

    void closeOfAnotherUsersFileDropsAHalfEnteredRecordWithoutCompacting()
    {
        const QString file = copyOf(m_alices, QStringLiteral("alice close.lwd"));
        Options.DBpath = file;
        QVERIFY(m_commands->connection().DBconnect(SecretText(QStringLiteral("alicepw"))));
        m_commands->openPassword = SecretText(QStringLiteral("alicepw"));
        const auto records = m_host->control.recordset();
        records->addNew();
        records->setValue(QStringLiteral("Account"), QStringLiteral("half entered"));
        m_commands->mnuFileClose_Click();
        QVERIFY(!m_host->control.isDataFileOpen());
        QCOMPARE(m_commands->openPassword.exposed().text(), QString());
        QCOMPARE(m_commands->lastFile, QString());
        QCOMPARE(m_host->panel1, QStringLiteral("No Data File Loaded."));
        QCOMPARE(fixtures::readAccounts(file, kAliceFile), QStringList({"alice's bank"})); // still Alice's
    }
};

QTEST_MAIN(TestDataFileCommands)
#include "test_datafilecommands.moc"
