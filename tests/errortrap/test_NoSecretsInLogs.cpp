// No secret reaches a log: a record of known secrets and a master password go through the code that handles
// them (cipher, text forms, data file open, filter, sort), every one of those raises its error under the trap
// with every log switched on, and then every file of the program folder is searched for the secrets.
#include "DataFileFixtures.h"
#include "app/TextForms.h"
#include "crypto/StringCipher.h"
#include "errorreport/ReportDialogReporter.h"
#include "errorreport/frmBULWARK.h"
#include "errortrap/Bulwark.h"
#include "storage/ConnectionText.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {
const QString kMaster = QStringLiteral("Mast3rSecr3t");
const QString kFilePassword = kMaster + QStringLiteral("K7352");

// One record whose every field is a secret that cannot turn up by chance.
const QStringList kRecord = {
    QStringLiteral("Acct-Zebra-4471"), QStringLiteral("https://vault-7q.example/login"),
    QStringLiteral("uid-h4wk3ye"),     QStringLiteral("Pw-Kx9#qT2!m"),
    QStringLiteral("hint-grapefruit"), QStringLiteral("PIN label 1"),
    QStringLiteral("PIN-60417"),       QStringLiteral("Answer label"),
    QStringLiteral("answer-okapi"),    QStringLiteral("TAN label"),
    QStringLiteral("TAN-918273"),      QStringLiteral("Recovery label"),
    QStringLiteral("recovery-quokka"), QStringLiteral("info-lighthouse-88"),
};

void raiseUnderTrap(const char* procedure, const std::function<void()>& body)
{
    ReportDialogSeam::setNextAnswer(frmBULWARK::kContinue, QStringLiteral("working on my accounts"));
    bwHandler("frmMain.frm", procedure, body);
}
} // namespace

class TestNoSecretsInLogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secretsNeverReachALog()
    {
        QTemporaryDir programFolder;
        QTemporaryDir dataFolder;
        bwReset();
        bwSetProgramFolder(programFolder.path());
        {
            QFile ini(programFolder.filePath(QStringLiteral("BWCLIENT.INI")));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Log File]\nCircularLog=1\n[log file]\nWrite To Disk=1\nCapture To Disk=1\n"
                      "[include]\nResources=1\nMemory=1\nArguments=1\nUser=1\n");
        }
        installReportDialogReporter();
        ReportDialogSeam::clear();

        const QString path = dataFolder.filePath(QStringLiteral("vault.lwd"));
        fixtures::makeDataFile(path, kFilePassword, {kRecord});

        // The cipher, with a character it cannot take in the middle of secrets.
        raiseUnderTrap("Sub cmdOK_Click", [&] {
            SetKey(kMaster);
            Encrypt(kRecord.at(3) + QChar(0x3A9) + kMaster);
        });
        // A secret read as a number.
        raiseUnderTrap("Sub Form_Load", [&] { TextForms::toInteger(kRecord.at(6)); });
        // The data file opened with the wrong password, whose text holds another secret.
        raiseUnderTrap("Function DBconnect", [&] {
            DataControl control;
            control.setConnection(
                ConnectionText::forDataFile(path, SecretText(kRecord.at(8) + QStringLiteral("K7352"))));
            control.setRecordSource(QStringLiteral("Select * from tblAccount"));
            control.refresh();
        });

        DataControl control;
        control.setConnection(ConnectionText::forDataFile(path, SecretText(kFilePassword)));
        control.setRecordSource(QStringLiteral("Select * from tblAccount"));
        control.refresh();
        const std::shared_ptr<Recordset> records = control.recordset();
        QVERIFY(records && records->recordCount() == 1);
        // Pasted filter texts (a quote breaks the criterion), a find and a sort made of record fields.
        raiseUnderTrap("Sub cmdFilter_Click",
                       [&] { records->setFilter(QStringLiteral("Account LIKE '") + kRecord.at(0) + "'x*'"); });
        raiseUnderTrap("Sub cmdFilter2_Click",
                       [&] { records->setFilter(QStringLiteral("URL LIKE '*") + kRecord.at(1) + "''*"); });
        raiseUnderTrap("Sub DataGrid1_KeyPress",
                       [&] { records->find(kRecord.at(10) + QStringLiteral(" LIKE '") + kRecord.at(12) + "*'"); });
        raiseUnderTrap("Sub DataGrid1_HeadClick", [&] { records->setSort(kRecord.at(13) + QStringLiteral(" ASC")); });
        raiseUnderTrap("Sub cmdAdd_Click", [&] {
            records->setValue(QStringLiteral("Info"), kRecord.at(4));
            records->setSort(QStringLiteral("Account UP"));
        });
        bwEndProgram();

        QCOMPARE(ReportDialogSeam::shown().size(), 8); // every error reached the report

        // Every file the program folder holds, as bytes, in each encoding a text could have been written in.
        int files = 0;
        QByteArray logs;
        QDirIterator it(programFolder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            logs += file.readAll();
            ++files;
        }
        QVERIFY2(files >= 3, "BWCLIENT.INI, the error log and the circular log at least");
        QCOMPARE(logs.count("*Error "), 8);
        QVERIFY(logs.contains("User Said : working on my accounts"));

        for (const QString& secret : kRecord + QStringList{kMaster, kFilePassword}) {
            if (secret.endsWith(QLatin1String("label")))
                continue; // key labels are names, not secrets
            const QByteArray utf16(reinterpret_cast<const char*>(secret.utf16()), secret.size() * 2);
            for (const QByteArray& form : {secret.toUtf8(), secret.toLatin1(), utf16})
                QVERIFY2(!logs.contains(form), qPrintable(QStringLiteral("found in a log: ") + secret));
        }
        bwReset();
    }
};

QTEST_MAIN(TestNoSecretsInLogs)
#include "test_NoSecretsInLogs.moc"
