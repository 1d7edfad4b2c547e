// Opening an address in the browser: a fake browser (a script that writes down its arguments) is registered
// in a private XDG setup and must get the address unchanged.
#include "desktop/Browser.h"
#include "desktop/MessageBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;
    QByteArray m_savedPath, m_savedTmpdir;

    QString path(const QString& relative) const { return m_root->filePath(relative); }
    QByteArray quotedProgram(const QString& name) const
    {
        return '"' + QFile::encodeName(path(QStringLiteral("bin dir/") + name)) + '"';
    }

    bool writeFile(const QString& relative, const QByteArray& text, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile out(path(relative));
        return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() &&
               (!executable || out.setPermissions(out.permissions() | QFile::ExeOwner));
    }

    // A browser "bin dir/<name>" that writes its arguments, each ended by a zero byte, to launches/<name>-<pid>.
    // Registered as <name>.desktop with the given arguments after the program.
    bool installBrowser(const QString& name, const QByteArray& arguments = "%u")
    {
        const QByteArray out = QFile::encodeName(path(QStringLiteral("launches/") + name));
        return writeFile(QStringLiteral("bin dir/") + name,
                         "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"" + out + "-$$.part\"\n/bin/mv \"" + out +
                             "-$$.part\" \"" + out + "-$$\"\n",
                         true) &&
               writeFile(QStringLiteral("data/applications/") + name + QStringLiteral(".desktop"),
                         "[Desktop Entry]\nType=Application\nExec=" + quotedProgram(name) + ' ' + arguments + '\n');
    }

    bool setDefault(const QByteArray& ids)
    {
        return writeFile(QStringLiteral("config/mimeapps.list"), "[Default Applications]\ntext/html=" + ids + "\n");
    }

    QStringList launches() const
    {
        return QDir(path(QStringLiteral("launches"))).entryList({QStringLiteral("*[0-9]")}, QDir::Files);
    }

    // "<browser>: arguments..." of the one launch so far.
    QString onlyLaunch()
    {
        if (!QTest::qWaitFor([this] { return !launches().isEmpty(); }, 10000))
            return QStringLiteral("no launch");
        QTest::qWait(100); // a second, unexpected launch would show up now
        if (launches().size() != 1)
            return launches().join(QLatin1Char(' '));
        QFile in(path(QStringLiteral("launches/")) + launches().first());
        QByteArray data = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        data.chop(1);
        QStringList arguments;
        for (const QByteArray& argument : data.split('\0'))
            arguments << QLatin1Char('[') + QString::fromUtf8(argument) + QLatin1Char(']');
        return launches().first().section(QLatin1Char('-'), 0, 0) + QStringLiteral(": ") + arguments.join(' ');
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_savedPath = qgetenv("PATH");
        m_savedTmpdir = qgetenv("TMPDIR");
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        for (const char* name : {"data", "config", "sysdata", "sysconfig", "tmp", "launches", "bin dir"})
            QVERIFY(QDir().mkpath(path(QString::fromLatin1(name))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path(QStringLiteral("sysdata"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path(QStringLiteral("sysconfig"))));
        qputenv("TMPDIR", QFile::encodeName(path(QStringLiteral("tmp"))));
        qputenv("PATH", QFile::encodeName(path(QStringLiteral("bin dir")))); // no xdg-mime unless a test adds it
        for (const char* name : {"BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID"})
            qunsetenv(name);
        QVERIFY(installBrowser(QStringLiteral("fake"), "%U"));
    }

    void cleanup()
    {
        qputenv("PATH", m_savedPath);
        qputenv("TMPDIR", m_savedTmpdir);
        m_root.reset();
    }

    void addressArrivesUnchanged_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("query and fragment") << QStringLiteral("https://example.org/a b/?q=1&r=two#part");
        QTest::newRow("quotes, shell characters") << QStringLiteral("http://x/\"dq\" 'sq' $HOME `id` ;|*\\ <>");
        QTest::newRow("blanks around, no scheme") << QStringLiteral("  example.org  ");
        QTest::newRow("field-code lookalikes") << QStringLiteral("%u %s %% %k");
        QTest::newRow("a dash after a blank") << QStringLiteral(" -rf");
        QTest::newRow("non-ASCII") << QStringLiteral("https://bücher.example/straße?ü=€");
    }
    void addressArrivesUnchanged()
    {
        QFETCH(QString, address);
        QVERIFY(setDefault("fake.desktop;"));
        StartURL(address);
        QCOMPARE(onlyLaunch(), QStringLiteral("fake: [") + address + QLatin1Char(']'));
        int code = 0;
        QCOMPARE(GetBrowserName(code), path(QStringLiteral("bin dir/fake")));
        QVERIFY(code >= 32);
    }

    // "--renderer-cmd-prefix=..." would have a browser run a program of the record's choosing.
    void anAddressABrowserWouldTakeAsAnOptionIsRefused()
    {
        QVERIFY(setDefault("fake.desktop"));
        MessageBoxSeam::clear();
        StartURL(QStringLiteral("--renderer-cmd-prefix=/bin/sh -c id"));
        QVERIFY(!StartNewBrowser(QStringLiteral("-rf")));
        QTest::qWait(200);
        QVERIFY(launches().isEmpty());
        const QList<MessageBoxRequest> shown = MessageBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("WEB ADDRESS REFUSED!"));
        QCOMPARE(shown[0].icon, int(vb::vbExclamation));
        QVERIFY(shown[0].prompt.contains(QStringLiteral("option")));
    }
};

QTEST_GUILESS_MAIN(TestBrowser)
#include "test_browser.moc"
