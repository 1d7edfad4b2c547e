// Compaction into an encrypted copy, and the atomic replacement of a data file by its copy.
#include "DataFileFixtures.h"
#include "datafile/Compactor.h"
#include "datafile/ConnectionText.h"
#include "datafile/DataFileFormat.h"
#include "datafile/EngineError.h"
#include "datafile/FileSafety.h"
#include "datafile/ResourceFile.h"
#include "datafile/SqlCipherDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {
const QString kOld = QStringLiteral("oldpassK7352");
const QString kNew = QStringLiteral("newpassK7352");

int modeOf(const QString& path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return int(st.st_mode & 0777);
}

int openError(const QString& path, const QString& password)
{
    try {
        SqlCipherDatabase::open(path, password);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
} // namespace

class TestCompactor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

private Q_SLOTS:
    void templateBecomesAnEncryptedUserOnlyDataFile()
    {
        QVERIFY(m_dir.isValid());
        fixtures::writeTemplate(path("template.lwd"));
        Compactor::compactDatabase(ConnectionText::forCompactSource(path("template.lwd"), QString()),
                                   ConnectionText::forCompactTarget(path("new.lwd"), kNew));
        QCOMPARE(modeOf(path("new.lwd")), 0600);
        QCOMPARE(QFileInfo(path("new.lwd")).size() % DataFileFormat::kPageSize, 0);
        QVERIFY(fixtures::readAccounts(path("new.lwd"), kNew).isEmpty());
        QCOMPARE(openError(path("new.lwd"), QString()), EngineErr::WrongPassword);
        QCOMPARE(openError(path("new.lwd"), kOld), EngineErr::WrongPassword);
        QFile file(path("new.lwd"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("tblAccount")); // the schema is encrypted too
    }

    void everyRecordMovesToTheCopyUnderTheNewPassword()
    {
        QList<fixtures::Record> records;
        for (int i = 0; i < 300; ++i)
            records << fixtures::Record{QStringLiteral("account %1").arg(i),
                                        QStringLiteral("https://%1.example").arg(i), QStringLiteral("user\u00e9"),
                                        QStringLiteral("p%1;'\"").arg(i)};
        fixtures::makeDataFile(path("source.lwd"), kOld, records);
        const QStringList before = fixtures::readAccounts(path("source.lwd"), kOld);
        Compactor::compactDatabase(ConnectionText::forCompactSource(path("source.lwd"), kOld),
                                   ConnectionText::forCompactTarget(path("copy.lwd"), kNew));
        QCOMPARE(fixtures::readAccounts(path("copy.lwd"), kNew), before);
        QCOMPARE(before.size(), 300);
    }

    void failuresLeaveNoCopyAndDoNotTouchAnExistingFile()
    {
        const fixtures::FolderSnapshot before(m_dir.path());
        try {
            Compactor::compactDatabase(ConnectionText::forCompactSource(path("source.lwd"), kNew),
                                       ConnectionText::forCompactTarget(path("nothing.lwd"), kNew));
            QFAIL("compacted with a wrong password");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), EngineErr::WrongPassword);
        }
        try {
            Compactor::compactDatabase(ConnectionText::forCompactSource(path("source.lwd"), kOld),
                                       ConnectionText::forCompactTarget(path("copy.lwd"), kNew));
            QFAIL("compacted over an existing file");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), EngineErr::DatabaseExists);
        }
        try {
            Compactor::compactDatabase(ConnectionText::forCompactSource(path("source.lwd"), kOld),
                                       ConnectionText::forCompactTarget(path("no folder/copy.lwd"), kNew));
            QFAIL("compacted into a missing folder");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), EngineErr::CannotOpen);
        }
        QVERIFY(before == fixtures::FolderSnapshot(m_dir.path()));
    }

    void replacementIsAtomicAndUserOnly()
    {
        QFile::remove(path("copy.lwd"));
        Compactor::compactDatabase(ConnectionText::forCompactSource(path("source.lwd"), kOld),
                                   ConnectionText::forCompactTarget(path("copy.lwd"), kNew));
        QCOMPARE(::chmod(QFile::encodeName(path("source.lwd")).constData(), 0644), 0);
        // A copy left by a crash in the middle of an earlier replacement is not in the way.
        QFile stale(FileSafety::replacementName(path("source.lwd")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("half a copy");
        stale.close();

        FileSafety::replaceAtomically(path("copy.lwd"), path("source.lwd"));
        QCOMPARE(fixtures::readAccounts(path("source.lwd"), kNew).size(), 300);
        QCOMPARE(modeOf(path("source.lwd")), 0600);
        QVERIFY(!QFile::exists(FileSafety::replacementName(path("source.lwd"))));
        QVERIFY(QFile::exists(path("copy.lwd"))); // the caller removes its work file
    }
};

QTEST_GUILESS_MAIN(TestCompactor)
#include "tst_Compactor.moc"
