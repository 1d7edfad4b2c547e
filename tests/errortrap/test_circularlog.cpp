#include "errortrap/CircularLog.h"

#include <QTemporaryDir>
#include <QtTest>

class TestCircularLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:

    // Small ring: header, records at 512 + (k-1) x size, the fourth line back in record 1, and a shrunken ring
    // that goes on from record 1.
    void ringWrapsAndShrinks()
    {
        const QString path = m_dir.filePath(QStringLiteral("ring.log"));
        CircularLog log;
        QVERIFY(log.open(path, 8, 3));
        for (const char* line : {"one", "two", "three", "four"})
            QVERIFY(log.write(QString::fromLatin1(line)));
        QByteArray file = bytes(path);
        QCOMPARE(file.left(5), QByteArray("HM100"));
        QCOMPARE(file.size(), 512 + 3 * 8);
        QCOMPARE(file.mid(512), QByteArray("four  \r\ntwo   \r\nthree \r\n"));

        log.setMaxRecords(2);
        log.write(QStringLiteral("five"));
        QCOMPARE(log.lastRecord(), 2);
        log.write(QStringLiteral("six"));
        QCOMPARE(log.lastRecord(), 1);
        QCOMPARE(bytes(path).mid(512, 16), QByteArray("six   \r\nfive  \r\n"));

        // Reopening keeps what the file holds and starts again at record 1.
        QVERIFY(log.open(path, 8, 3));
        log.write(QStringLiteral("seven"));
        file = bytes(path);
        QCOMPARE(file.mid(512), QByteArray("seven \r\nfive  \r\nthree \r\n"));
    }
};

QTEST_APPLESS_MAIN(TestCircularLog)
#include "test_circularlog.moc"
