// Writing the template resource to disk, and the error numbers when that cannot be done.
#include "datafile/ResourceFile.h"
#include "datafile/SqlCipherDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestResourceFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void templateIsWrittenWholeAndUserOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new file.lwd"));
        QFile longer(path);
        QVERIFY(longer.open(QIODevice::WriteOnly));
        longer.write(QByteArray(500000, 'x'));
        longer.close();

        QCOMPARE(SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), path), 0);
        QByteArray expected;
        QVERIFY(loadResourceBytes(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"), expected));
        QVERIFY(expected.startsWith(QByteArray("SQLite format 3\0", 16)));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
        QCOMPARE(int(QFile::permissions(path) & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup)), 0);
        // The template is a data file without a password.
        QVERIFY(!SqlCipherDatabase::open(path, QString())->isEncrypted());
    }

    void failuresAreNumbers()
    {
        QTemporaryDir dir;
        const QString inFolder = dir.filePath(QStringLiteral("x.lwd"));
        QCOMPARE(SaveResItemToDisk(QStringLiteral("NOSUCH"), QStringLiteral("CUSTOM"), inFolder),
                 ResourceErr::ResourceNotFound);
        QCOMPARE(SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("ICON"), inFolder),
                 ResourceErr::ResourceNotFound);
        QCOMPARE(SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"),
                                   dir.filePath(QStringLiteral("missing/x.lwd"))),
                 ResourceErr::PathNotFound);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.lwd")));
        QCOMPARE(SaveResItemToDisk(QStringLiteral("DATABASE"), QStringLiteral("CUSTOM"),
                                   dir.filePath(QStringLiteral("folder.lwd"))),
                 ResourceErr::PathFileAccess);
        QVERIFY(!QFile::exists(inFolder));
    }
};

QTEST_GUILESS_MAIN(TestResourceFile)
#include "tst_ResourceFile.moc"
