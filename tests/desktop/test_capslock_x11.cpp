// Caps Lock on X11, read from a private X server of this test's own, so toggling Caps Lock never reaches
// another test's typing. Skipped where Xvfb or xdotool is missing.
#include "desktop/SystemHelpers.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString g_display;

bool xdotool(const QString& action)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), {action, QStringLiteral("Caps_Lock")});
    return tool.waitForFinished(10000) && tool.exitCode() == 0;
}

// Xvfb picks a free display and writes its number to descriptor 3, sent to a file here.
QString startPrivateServer(QProcess& server, const QString& displayFile)
{
    server.start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"), QStringLiteral("exec Xvfb -displayfd 3 -nolisten tcp 3>\"$1\" 2>/dev/null"),
                  QStringLiteral("sh"), displayFile});
    QFile file(displayFile);
    const bool up = server.waitForStarted(5000) && QTest::qWaitFor([&] { return file.size() > 0; }, 10000);
    return up && file.open(QIODevice::ReadOnly) ? QLatin1Char(':') + QString::fromLatin1(file.readAll().trimmed())
                                                : QString();
}
} // namespace

class TestCapsLockX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheToggleWhetherOrNotTheKeyIsHeld()
    {
        if (g_display.isEmpty())
            QSKIP("Xvfb or xdotool is not installed");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(!CapsLockOn());
        QVERIFY(xdotool(QStringLiteral("key")));
        QVERIFY(CapsLockOn());
        QVERIFY(xdotool(QStringLiteral("keydown")));
        QVERIFY(CapsLockOn()); // held: the toggle stays on until the key comes up
        QVERIFY(xdotool(QStringLiteral("keyup")));
        QVERIFY(!CapsLockOn());
    }
};

int main(int argc, char** argv)
{
    QProcess server;
    QTemporaryDir scratch;
    if (!QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
        !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        g_display = startPrivateServer(server, scratch.filePath(QStringLiteral("display")));
    qputenv("QT_QPA_PLATFORM", g_display.isEmpty() ? "offscreen" : "xcb");
    if (!g_display.isEmpty())
        qputenv("DISPLAY", g_display.toLatin1());
    int result = 0;
    {
        QApplication app(argc, argv);
        TestCapsLockX11 test;
        result = QTest::qExec(&test, argc, argv);
    }
    server.terminate();
    server.waitForFinished(5000);
    return result;
}

#include "test_capslock_x11.moc"
