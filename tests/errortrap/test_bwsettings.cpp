#include "errortrap/BwSettings.h"
#include "errortrap/IniFile.h"

#include <QtTest>

class TestBwSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
};

QTEST_APPLESS_MAIN(TestBwSettings)
#include "test_bwsettings.moc"
