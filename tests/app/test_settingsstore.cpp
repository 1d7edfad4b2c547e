// The settings store: where its file lives, that every text comes back exactly as written (read from
// the file, not from memory), and that the file is the user's alone.
#include "app/SettingsStore.h"
#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

// Every character of the Windows-1252 code page: U+0000..U+00FF and the characters that code page
// puts at 0x80..0x9F.
QString allCodePageCharacters()
{
    QString text;
    for (int i = 0; i < 256; ++i)
        text += QChar(i);
    const char16_t specials[] = u"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152"
                                u"\u017D\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A"
                                u"\u0153\u017E\u0178";
    text += QString::fromUtf16(specials);
    return text;
}

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_home;

private Q_SLOTS:
    void init()
    {
        m_home.reset(new QTemporaryDir);
        QVERIFY(m_home->isValid());
        qputenv("XDG_CONFIG_HOME", m_home->path().toLocal8Bit());
    }

    void hostileTextsRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("all code-page characters") << allCodePageCharacters();
        QTest::newRow("NUL alone") << QString(QChar(0));
        QTest::newRow("NUL inside") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd");
        QTest::newRow("CR LF") << QStringLiteral("line 1\r\nline 2\r\n");
        QTest::newRow("INI syntax") << QStringLiteral("=;#[Section]\nkey=value");
        QTest::newRow("blanks around") << QStringLiteral("  lead and trail  ");
        QTest::newRow("tab in front") << QStringLiteral("\tx");
        QTest::newRow("backslashes") << QStringLiteral("\\\\server\\share\\a.lwd\\");
        QTest::newRow("quotes") << QStringLiteral("\"quoted\" 'single'");
        QTest::newRow("commas") << QStringLiteral("a,b, c");
        QTest::newRow("variant look-alike") << QStringLiteral("@Variant(\\0\\0\\0\\x7f)");
        QTest::newRow("percent escape look-alike") << QStringLiteral("%U1234%20");
        QTest::newRow("the word true") << QStringLiteral("true");
        QTest::newRow("empty") << QString(QLatin1String(""));
    }
    void hostileTextsRoundTrip()
    {
        QFETCH(QString, text);
        const QString section = QStringLiteral("Accounts\\BOB");
        SettingsStore::write(section, QStringLiteral("PW"), text);
        QCOMPARE(SettingsStore::read(section, QStringLiteral("PW"), QStringLiteral("absent")), text);

        // Read the same bytes under another path, so the text comes from the file and not from a cache.
        QTemporaryDir other;
        QVERIFY(QFile::copy(SettingsStore::filePath(), other.path() + QStringLiteral("/Tovane - Keyfold.conf")));
        qputenv("XDG_CONFIG_HOME", other.path().toLocal8Bit());
        QCOMPARE(SettingsStore::read(section, QStringLiteral("PW"), QStringLiteral("absent")), text);
    }

    void fileAndFolderAreUserOnly()
    {
        const QString folder = m_home->path() + QStringLiteral("/fresh/config");
        qputenv("XDG_CONFIG_HOME", folder.toLocal8Bit());
        const mode_t oldMask = ::umask(0);
        SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("BOB"));
        ::umask(oldMask);
        QCOMPARE(modeOf(folder), mode_t(0700));
        QCOMPARE(modeOf(SettingsStore::filePath()), mode_t(0600));

        // A file someone opened up is closed again by the next write, and stays so.
        QVERIFY(::chmod(QFile::encodeName(SettingsStore::filePath()).constData(), 0644) == 0);
        SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("ALICE"));
        QCOMPARE(modeOf(SettingsStore::filePath()), mode_t(0600));
        SettingsStore::write(QStringLiteral("Accounts\\ALICE"), QStringLiteral("PW"), QStringLiteral("x"));
        QCOMPARE(modeOf(SettingsStore::filePath()), mode_t(0600));
        QCOMPARE(SettingsStore::read(QStringLiteral("LastLogin"), QStringLiteral("Name")), QStringLiteral("ALICE"));
    }

    void unwritableStoreIsAnAccessError()
    {
        // A folder path that runs through a plain file cannot be created, whoever runs the test.
        QFile blocker(m_home->path() + QStringLiteral("/plain-file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", (blocker.fileName() + QStringLiteral("/config")).toLocal8Bit());
        try {
            SettingsStore::write(QStringLiteral("LastLogin"), QStringLiteral("Name"), QStringLiteral("BOB"));
            QFAIL("no error raised");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), 75);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
