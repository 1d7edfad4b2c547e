// One instance per user: a later start finds the guard taken and asks the running one to bring its window
// forward; what a crashed instance left does not lock the program out and is not removed; the guard is
// never kept where another account could take it first.
#include "app/SingleInstance.h"
#include "errortrap/Bulwark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
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
        SingleInstance running;
        QSignalSpy asked(&running, &SingleInstance::restoreRequested);
        QVERIFY(!running.MultiInst()); // nobody runs yet: this one holds the guard from now on
        QVERIFY(running.holdsGuard());
        QVERIFY(running.isListening());

        SingleInstance second; // cannot take the guard while the first runs
        QVERIFY(second.MultiInst());
        QVERIFY(asked.wait(5000));
        QVERIFY(!second.holdsGuard());
        QVERIFY(running.isListening());
    }

    void whatACrashLeftLocksNobodyOutAndIsLeftAlone()
    {
        // A killed instance leaves its socket, and the guard file naming it.
        const QString stale = m_runtime->filePath(QStringLiteral("crashed.sock"));
        QVERIFY(makeStaleSocket(stale));
        QFile guard(SingleInstance::guardPath());
        QVERIFY(guard.open(QIODevice::WriteOnly));
        guard.write(QFile::encodeName(stale));
        guard.close();
        {
            SingleInstance running;
            QVERIFY(!running.MultiInst());
            QVERIFY(running.isListening());
            SingleInstance later;
            QVERIFY(later.MultiInst());
        }
        // An orderly end removes its own socket, nothing else.
        QCOMPARE(QDir(m_runtime->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList({"crashed.sock", QFileInfo(SingleInstance::guardPath()).fileName()}));
    }

    void theGuardIsKeptWhereNobodyElseCanWrite()
    {
        // Without a runtime folder of the user's own, never the shared temporary folder: a folder made
        // for it in the user's cache folder, 0700.
        const QString cache = m_runtime->filePath(QStringLiteral("cache"));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        const QString shared = m_runtime->filePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(QFile::setPermissions(shared, QFile::Permissions(0x7777)));
        for (const QByteArray& runtime : {QByteArray(), QFile::encodeName(shared)}) {
            if (runtime.isEmpty())
                qunsetenv("XDG_RUNTIME_DIR");
            else
                qputenv("XDG_RUNTIME_DIR", runtime);
            QCOMPARE(SingleInstance::privateFolder(), cache + QStringLiteral("/lockwell"));
            QCOMPARE(QFileInfo(SingleInstance::privateFolder()).permissions(), QFile::ReadOwner | QFile::WriteOwner |
                                                                                   QFile::ExeOwner | QFile::ReadUser |
                                                                                   QFile::WriteUser | QFile::ExeUser);
            SingleInstance running;
            QVERIFY(!running.MultiInst());
            QVERIFY(running.holdsGuard());
            QVERIFY(QFileInfo(running.guardPath()).path() == cache + QStringLiteral("/lockwell"));
        }
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
