// One instance per user: a later start reaches the running one, which is asked to bring its window
// forward; a socket file left by a crashed instance does not lock the program out.
#include "app/SingleInstance.h"
#include "errortrap/Bulwark.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Leaves a socket file nobody listens on, as an instance that was killed leaves it.
bool makeStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    if (fd < 0 || size_t(bytes.size()) >= sizeof address.sun_path)
        return false;
    memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_runtime;

private Q_SLOTS:
    void init()
    {
        bwReset();
        m_runtime.reset(new QTemporaryDir);
        qputenv("XDG_RUNTIME_DIR", m_runtime->path().toLocal8Bit());
    }

    void aLaterStartReachesTheRunningInstance()
    {
        QVERIFY(!SingleInstance::MultiInst()); // nobody runs yet
        SingleInstance running;
        QSignalSpy asked(&running, &SingleInstance::restoreRequested);
        QVERIFY(running.listen());
        QVERIFY(SingleInstance::MultiInst());
        QVERIFY(asked.wait(5000));

        SingleInstance second; // cannot take over the channel of a running instance
        QVERIFY(!second.listen());
        QVERIFY(running.isListening());
    }

    void aSocketLeftByACrashIsReplaced()
    {
        QVERIFY(makeStaleSocket(SingleInstance::channelName()));
        QVERIFY(QFile::exists(SingleInstance::channelName()));
        QVERIFY(!SingleInstance::MultiInst());
        {
            SingleInstance running;
            QVERIFY(running.listen());
            QVERIFY(SingleInstance::MultiInst());
        }
        QVERIFY(!QFile::exists(SingleInstance::channelName())); // an orderly end leaves nothing
    }

    void bringToFrontRestoresMinimisedAndHiddenWindows()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        SingleInstance::bringToFront(&window);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());

        window.hide(); // in the tray
        SingleInstance::bringToFront(&window);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
