// The temporary folder and files, cutting at a zero character, and Caps Lock where it cannot be read.
#include "desktop/SystemHelpers.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestSystemHelpers : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path() + QLatin1Char('/')));
    }

    void tempDirEndsInOneSlash()
    {
        QCOMPARE(GetTempDir(), m_tmp.path() + QLatin1Char('/'));
        // Never the root folder: a $TMPDIR that does not exist is passed over.
        qputenv("TMPDIR", QFile::encodeName(m_tmp.filePath(QStringLiteral("gone"))));
        QCOMPARE(GetTempDir(), QStringLiteral("/tmp/"));
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path() + QLatin1Char('/')));
    }

    void tempFilesAreNewEmptyAndUserOnly()
    {
        QSet<QString> names;
        for (int i = 0; i < 20; ++i) {
            QString name;
            QVERIFY(GetTempFile(QString(), QStringLiteral("lwd"), 0, name));
            const QFileInfo info(name);
            QCOMPARE(info.absolutePath(), m_tmp.path());
            QVERIFY(info.fileName().startsWith(QLatin1String("lwd")));
            QVERIFY(info.isFile() && info.size() == 0);
            QCOMPARE(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                     QFile::Permissions());
            names.insert(name);
        }
        QCOMPARE(names.size(), 20);
        QVERIFY(!names.contains(GetTempFile()));
    }

    void tempFileNamesInAGivenFolder()
    {
        const QString sub = m_tmp.path() + QStringLiteral("/sub dir");
        QVERIFY(QDir().mkpath(sub));
        QString name;
        QVERIFY(GetTempFile(sub, QStringLiteral("x"), 0, name));
        QCOMPARE(QFileInfo(name).absolutePath(), sub);
        QVERIFY(GetTempFile(sub, QStringLiteral("lwd"), 0x1A2Bu, name)); // a given number: the name only
        QCOMPARE(name, sub + QStringLiteral("/lwd1A2B.tmp"));
        QVERIFY(!QFile::exists(name));

        QVERIFY(!GetTempFile(sub + QStringLiteral("/missing"), QStringLiteral("lwd"), 0, name));
        QCOMPARE(name, QString());
        QVERIFY(!GetTempFile(sub, QStringLiteral("../escape"), 0, name));
    }

    void cuttingAtTheFirstZero()
    {
        const QChar zero(0);
        const QString cases[][2] = {
            {QStringLiteral("/tmp/"), QStringLiteral("/tmp/")},
            {QString(zero) + QStringLiteral("abc"), QString()},
            {QStringLiteral("/usr/bin/x") + zero + QStringLiteral("junk") + zero, QStringLiteral("/usr/bin/x")}};
        for (const auto& c : cases) {
            QCOMPARE(TrimNull(c[0]), c[1]);
            QCOMPARE(StripTerminator(c[0]), c[1]);
        }
    }

    void capsLockIsOffWhereItCannotBeRead()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        QVERIFY(!CapsLockOn());
    }
};

QTEST_MAIN(TestSystemHelpers)
#include "test_systemhelpers.moc"
