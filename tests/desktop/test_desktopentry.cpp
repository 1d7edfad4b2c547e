// Desktop entry files: command-line quoting and field codes.
#include "desktop/DesktopEntry.h"

#include <QTemporaryDir>
#include <QTest>

class TestDesktopEntry : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString entry(const QByteArray& text)
    {
        const QString path = m_root.filePath(QStringLiteral("e.desktop"));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? path : QString();
    }

private Q_SLOTS:
    void splittingCommandLines()
    {
        QStringList words;
        QVERIFY(desktopentry::splitCommandLine(QStringLiteral("  \"/opt/My Browser/run\"   \"\" %U "), words));
        QCOMPARE(words, (QStringList{"/opt/My Browser/run", "", "%U"}));
        QVERIFY(desktopentry::splitCommandLine(QStringLiteral("sh -c \"echo \\\"\\$HOME\\\" \\\\ \\`x\\`\"x"), words));
        QCOMPARE(words, (QStringList{"sh", "-c", "echo \"$HOME\" \\ `x`x"}));
        QVERIFY(!desktopentry::splitCommandLine(QStringLiteral("prog \"open"), words));
    }

    void fieldCodesPlaceTheAddressAndFillTheRest()
    {
        const QString file = entry("[Desktop Entry]\nName=Web Thing\nIcon=webthing\n"
                                   "Exec=\"/opt/web\\sthing/run\" --new-window %u --class=%c %i %k 100%% %d\n"
                                   "[Desktop Action private]\nExec=/opt/other --private %u\n");
        const LaunchCommand command = desktopentry::readLaunchCommand(file);
        QCOMPARE(command.program, QStringLiteral("/opt/web thing/run"));
        QCOMPARE(command.argumentsWith(QStringLiteral("a b&c")),
                 (QStringList{"--new-window", "a b&c", "--class=Web Thing", "--icon", "webthing", file, "100%"}));

        const LaunchCommand noCode = desktopentry::readLaunchCommand(entry("[Desktop Entry]\nExec = browse -x\n"));
        QCOMPARE(noCode.argumentsWith(QStringLiteral("u")), (QStringList{"-x", "u"}));
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "test_desktopentry.moc"
