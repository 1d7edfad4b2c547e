// The cipher and the storage library in a program without windows, as a command-line tool uses them: a
// login's data file password, a new data file under it, a record written and read back through the data
// control, and no windowing library anywhere in the process.
#include "crypto/StringCipher.h"
#include "storage/Compactor.h"
#include "storage/DataControl.h"
#include "storage/DataFilePassword.h"
#include "storage/Recordset.h"
#include "storage/ResourceFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCoreOnly : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensADataFileUnderTheLoginsPassword()
    {
        const SecretText master(u"core only pw");
        SetKey(master.view());
        const SecretText password = loginDataFilePassword(Encrypt(master));
        QCOMPARE(password.view(), QStringView(u"core only pwK7352"));

        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("template.lwd"));
        const QString path = dir.filePath(QStringLiteral("vault.lwd"));
        QCOMPARE(SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), plain), 0);
        Compactor::createFromTemplate(plain, path, password);
        for (int pass = 0; pass < 2; ++pass) {
            DataControl control;
            control.setConnection(ConnectionText::forDataFile(path, password.copy()));
            control.setRecordSource(QStringLiteral("Select * from tblAccount"));
            control.refresh();
            Recordset& records = *control.recordset();
            if (pass == 0) {
                records.addNew();
                records.setValue(QStringLiteral("Account"), QStringLiteral("Bank"));
                records.update();
            } else {
                QCOMPARE(records.recordCount(), 1);
                QCOMPARE(records.value(QStringLiteral("Account")), QStringLiteral("Bank"));
            }
        }
    }

    void loadsNoWindowingLibrary()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QByteArrayList qtLibraries;
        for (const QByteArray& line : maps.readAll().split('\n')) {
            const QByteArray file = line.mid(line.lastIndexOf('/') + 1);
            if (file.startsWith("libQt6") && !qtLibraries.contains(file))
                qtLibraries << file;
        }
        QVERIFY(!qtLibraries.isEmpty());
        for (const QByteArray& library : qtLibraries)
            QVERIFY2(library.startsWith("libQt6Core.") || library.startsWith("libQt6Test."), library.constData());
    }
};

QTEST_GUILESS_MAIN(TestCoreOnly)
#include "test_coreonly.moc"
