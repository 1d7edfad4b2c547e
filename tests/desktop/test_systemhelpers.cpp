// The temporary folder and files.
#include "desktop/SystemHelpers.h"

#include <QFileInfo>
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
};

QTEST_MAIN(TestSystemHelpers)
#include "test_systemhelpers.moc"
