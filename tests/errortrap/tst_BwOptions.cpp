#include "errortrap/BwOptions.h"
#include "errortrap/BwSettings.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

class TestBwOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QVariant option(BwSettings& s, int number, const QVariant& value)
    {
        return bwApplyOption(s, number, value, m_dir.path());
    }

private Q_SLOTS:
    void getInAnyCaseReads()
    {
        BwSettings s;
        s.emailAddress = QStringLiteral("me@example.org");
        for (const char* get : {"GET", "get", "Get"}) {
            QCOMPARE(option(s, 4, QString::fromLatin1(get)).toString(), QStringLiteral("me@example.org"));
            QCOMPARE(option(s, 23, QString::fromLatin1(get)), QVariant(false));
        }
        QCOMPARE(s.emailAddress, QStringLiteral("me@example.org"));
        QVERIFY(!s.writeToDisk);
        // " GET" is not the word GET: for a text option it is a value to set.
        option(s, 4, QStringLiteral(" GET"));
        QCOMPARE(s.emailAddress, QStringLiteral("GET"));
    }

    void flagsTakeOnlyNumbers_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("changes");
        QTest::newRow("int") << QVariant(1) << true;
        QTest::newRow("minus one") << QVariant(-1) << true;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("numeric text") << QVariant(QStringLiteral(" 2 ")) << true;
        QTest::newRow("double") << QVariant(0.5) << true;
        QTest::newRow("word") << QVariant(QStringLiteral("yes")) << false;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("number then word") << QVariant(QStringLiteral("1x")) << false;
        QTest::newRow("null") << QVariant() << false;
    }
    void flagsTakeOnlyNumbers()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, changes);
        for (int number : {11, 12, 13, 14, 15, 21, 23, 24, 27}) {
            BwSettings s;
            const bool before = option(s, number, QStringLiteral("GET")).toBool();
            const QVariant after = option(s, number, value);
            QCOMPARE(after.toBool(), changes ? true : before);
            QCOMPARE(option(s, number, QStringLiteral("GET")), after);
            option(s, number, 0);
            QCOMPARE(option(s, number, QStringLiteral("GET")), QVariant(false));
        }
    }

    // The two tracing switches are kept inverted, yet read and set like every other flag.
    void tracingSwitchesAreStoredInverted()
    {
        BwSettings s;
        QCOMPARE(option(s, 22, QStringLiteral("get")), QVariant(true));
        QCOMPARE(option(s, 22, 0), QVariant(false));
        QVERIFY(s.traceOff2 && !s.tracing());
        option(s, 22, QStringLiteral("off")); // not numeric: ignored
        QVERIFY(!s.tracing());
        option(s, 22, 1);
        QVERIFY(s.tracing());
        option(s, 20, QStringLiteral("0"));
        QVERIFY(s.traceOff1 && !s.tracing());
        QCOMPARE(option(s, 20, QStringLiteral("GET")), QVariant(false));
    }

    void readOnlyUnknownAndNumberOptions()
    {
        BwSettings s;
        QVERIFY(!option(s, 0, QStringLiteral("GET")).toString().isEmpty());
        QCOMPARE(option(s, 0, QStringLiteral("other")), option(s, 0, QStringLiteral("GET")));
        QCOMPARE(option(s, 1, QStringLiteral("GET")).toDate(), QDate::currentDate());
        QCOMPARE(option(s, 3, 1), QVariant(false));
        QCOMPARE(option(s, 25, QStringLiteral("20")), QVariant(20));
        QCOMPARE(option(s, 25, QStringLiteral("many")), QVariant(20));
        for (int number : {-1, 2, 5, 10, 17, 19, 28})
            QVERIFY(option(s, number, 1).isNull());
    }

    // A log file name is tried first: a missing file is created, a name that cannot be opened is not taken.
    void logFileNameIsTested()
    {
        BwSettings s;
        QCOMPARE(option(s, 16, QStringLiteral("LWD.LOG")).toString(), QStringLiteral("LWD.LOG"));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("LWD.LOG"))));
        QCOMPARE(option(s, 16, QStringLiteral("no such folder/x.log")).toString(), QStringLiteral("LWD.LOG"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("no such folder"))));
        QCOMPARE(s.logFileName, QStringLiteral("LWD.LOG"));
    }
};

QTEST_APPLESS_MAIN(TestBwOptions)
#include "tst_BwOptions.moc"
