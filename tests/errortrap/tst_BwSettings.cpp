#include "errortrap/BwFiles.h"
#include "errortrap/BwSettings.h"
#include "errortrap/IniFile.h"

#include <QtTest>

class TestBwSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingFileGivesEveryDefault()
    {
        const IniFile ini = IniFile::load(QStringLiteral("/nonexistent/BWCLIENT.INI"));
        QVERIFY(!ini.exists());
        const BwSettings s = BwSettings::fromIni(ini);
        QCOMPARE(s.circularFileName, QStringLiteral("circ0001.log"));
        QCOMPARE(s.recordSize, 1024);
        QCOMPARE(s.maxRecords, 10);
        QCOMPARE(s.displayMode, 0);
        QVERIFY(!s.circularLog && !s.circularLogActive() && !s.forceSystemInfo && !s.silentRun);
        QVERIFY(!s.writeToDisk && !s.captureToDisk && s.logFileName.isEmpty() && s.emailAddress.isEmpty());
        QVERIFY(s.includeResources && s.includeMemory && s.includeArguments && s.includeUser && s.tracing());
    }

    // Names in any letter case, "Log File" and "log file" one section, quotes dropped, the first key wins,
    // comments and keys outside a section skipped.
    void readsTheFileAsWindowsDoes()
    {
        const BwSettings s = BwSettings::fromIni(IniFile::parse("orphan=1\r\n"
                                                                "; a comment\r\n"
                                                                "[LOG FILE]\r\n"
                                                                "circularlog = 1\r\n"
                                                                "Write To Disk=1\r\n"
                                                                "LOG file=\"my trap.log\"\r\n"
                                                                "[circularLOG]\r\n"
                                                                "RecordSize=64\r\n"
                                                                "MaxRecords=3\r\n"
                                                                "MaxRecords=99\r\n"
                                                                "# another comment\r\n"
                                                                "[Email]\r\n"
                                                                "address='me@example.org'\r\n"
                                                                "[Include]\r\n"
                                                                "Memory=0\r\n"));
        QVERIFY(s.circularLog);
        QVERIFY(s.writeToDisk);
        QCOMPARE(s.logFileName, QStringLiteral("my trap.log"));
        QCOMPARE(s.recordSize, 64);
        QCOMPARE(s.maxRecords, 3);
        QCOMPARE(s.emailAddress, QStringLiteral("me@example.org"));
        QVERIFY(!s.includeMemory);
        QVERIFY(s.includeResources);
    }

    void flagsReadTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("on");
        QTest::newRow("one") << "1" << true;
        QTest::newRow("two with trailing text") << "2 please" << true;
        QTest::newRow("fraction") << "0.5" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("minus one") << "-1" << false;
        QTest::newRow("word") << "yes" << false;
        QTest::newRow("empty") << "" << false;
    }
    void flagsReadTheLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, on);
        QCOMPARE(bwFlagFromText(text), on);
        const BwSettings s = BwSettings::fromIni(IniFile::parse("[preferences]\nSilent Run=" + text.toUtf8()));
        QCOMPARE(s.silentRun, on);
    }

    // The circular log switch looks only at the first character; the log file name is read only for writing.
    void logsGoToTheStateFolderWhenTheProgramFolderIsNotWritable()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QCOMPARE(BwFiles::logFolderFor(scratch.path()), scratch.path());

        // An installed program's folder (here: one that does not exist) is not ours to write in.
        qputenv("XDG_STATE_HOME", scratch.filePath(QStringLiteral("state")).toUtf8());
        const QString folder = BwFiles::logFolderFor(scratch.filePath(QStringLiteral("usr/bin")));
        QCOMPARE(folder, scratch.filePath(QStringLiteral("state/lockwell")));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        qunsetenv("XDG_STATE_HOME");
    }

    void switchQuirks()
    {
        QVERIFY(BwSettings::fromIni(IniFile::parse("[Log File]\nCircularLog=10")).circularLog);
        QVERIFY(!BwSettings::fromIni(IniFile::parse("[Log File]\nCircularLog=01")).circularLog);
        QVERIFY(BwSettings::fromIni(IniFile::parse("[log file]\nLog File=x.log")).logFileName.isEmpty());
        QCOMPARE(BwSettings::fromIni(IniFile::parse("[log file]\nLog File=x.log\nCapture To Disk=1")).logFileName,
                 QStringLiteral("x.log"));
    }
};

QTEST_APPLESS_MAIN(TestBwSettings)
#include "tst_BwSettings.moc"
