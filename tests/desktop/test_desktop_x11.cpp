// The desktop services on a real X server of this test's own, so that toggling Caps Lock and typing never
// reach another test's windows: Caps Lock as the keyboard reports it and as the typed letters tell it,
// and the titles message boxes really carry. Skipped where Xvfb or xdotool is missing.
#include "desktop/CapsLockFromTyping.h"
#include "desktop/MessageBox.h"
#include "desktop/SystemHelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QString g_display;

bool xdotool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
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

class TestDesktopX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (g_display.isEmpty())
            QSKIP("Xvfb or xdotool is not installed");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    void capsLockFollowsTheToggleWhetherOrNotTheKeyIsHeld()
    {
        QVERIFY(!CapsLockOn());
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
        QVERIFY(CapsLockOn());
        QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("Caps_Lock")}));
        QVERIFY(CapsLockOn()); // held: the toggle stays on until the key comes up
        QVERIFY(xdotool({QStringLiteral("keyup"), QStringLiteral("Caps_Lock")}));
        QVERIFY(!CapsLockOn());
    }

    // The letters X11 delivers tell Caps Lock the way Wayland's would, Shift held or not.
    void typedLettersTellCapsLock()
    {
        QLineEdit box;
        CapsLockFromTyping::watch(&box);
        CapsLockFromTyping::forget();
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // No window manager here: give the box the keyboard as one would.
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(box.winId())}));
        QTRY_VERIFY(box.hasFocus());
        const auto type = [&](const char* keys) {
            return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} +
                           QString::fromLatin1(keys).split(QLatin1Char(' ')));
        };
        struct Step
        {
            const char* keys;
            bool on;
        };
        for (const Step step :
             {Step{"Caps_Lock a", true}, Step{"shift+b", true}, Step{"Caps_Lock c", false}, Step{"shift+d", false}}) {
            QVERIFY(type(step.keys));
            QTRY_COMPARE(CapsLockFromTyping::state(), std::optional<bool>(step.on));
            QCOMPARE(CapsLockOn(), step.on); // the keyboard agrees
        }
        QTRY_COMPARE(box.text(), QStringLiteral("AbcD"));
    }

    // The seam records the title the window manager is given, not the one asked for.
    void aShownBoxRecordsItsRealTitle()
    {
        MessageBoxSeam::clear();
        QTimer::singleShot(200, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Suffix"));
        MsgBox(QStringLiteral("text"), vb::vbOKOnly, QStringLiteral("Login"));
        QGuiApplication::setApplicationDisplayName(QString());
        QCOMPARE(MessageBoxSeam::shown().constLast().title, QStringLiteral("Login \u2014 Suffix"));
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
        TestDesktopX11 test;
        result = QTest::qExec(&test, argc, argv);
    }
    server.terminate();
    server.waitForFinished(5000);
    return result;
}

#include "test_desktop_x11.moc"
