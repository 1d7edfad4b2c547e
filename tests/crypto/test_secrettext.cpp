// The secret type: it holds the only copy it owns, moves without copying, and wiping a text never reaches
// into a copy someone else still holds; its memory stays out of swap while the lock limit allows.
#include "crypto/SecretText.h"
#include "crypto/SecureWipe.h"

#include <QFile>
#include <QtTest>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The memory this process has locked, in kB, as the kernel counts it.
qint64 lockedKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmLck:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// In a child process allowed one locked page (without root's right to lock more): three secrets, the
// first locked and the others not, all of them whole. The exit code says which check failed.
int threeSecretsUnderAOnePageLimit()
{
    const rlim_t page = rlim_t(sysconf(_SC_PAGESIZE));
    const rlimit onePage{page, page};
    if (setrlimit(RLIMIT_MEMLOCK, &onePage) != 0)
        return 10;
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return 11;
    const qint64 before = lockedKiB();
    const SecretText first(u"first pw"), second(u"second pw"), third(u"third pw");
    if (lockedKiB() - before != qint64(page / 1024))
        return 12;
    if (first.view() != u"first pw" || second.view() != u"second pw" || third.copy().view() != u"third pw")
        return 13;
    return 0;
}
} // namespace

class TestSecretText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesMovesAndCopiesWithoutSharing()
    {
        QString typed = QStringLiteral("hunter22");
        typed.detach();
        SecretText secret = SecretText::take(typed);
        QVERIFY(typed.isEmpty());
        QCOMPARE(secret.exposed().text(), QStringLiteral("hunter22"));

        // A text that shares its buffer with another holder is let go of, never zeroed under that holder.
        const QString kept = QStringLiteral("shared pw");
        QString shared = kept;
        const SecretText fromShared = SecretText::take(shared);
        QVERIFY(shared.isEmpty());
        QCOMPARE(kept, QStringLiteral("shared pw"));
        QString alsoShared = kept;
        secureWipe(alsoShared);
        QCOMPARE(kept, QStringLiteral("shared pw"));

        SecretText copy = secret.copy();
        const SecretText moved = std::move(secret);
        QVERIFY(secret.isEmpty()); // moving empties the source
        QVERIFY(moved == copy && moved.view().data() != copy.view().data());
        copy.clear();
        QVERIFY(copy.isEmpty());
        QCOMPARE(moved.view(), QStringView(u"hunter22"));
    }

    void keptOutOfSwapWhileTheLimitAllowsAndWholeBeyondIt()
    {
        const qint64 before = lockedKiB();
        {
            const SecretText secret(u"hunter22");
            QCOMPARE(lockedKiB() - before, qint64(sysconf(_SC_PAGESIZE) / 1024));
        }
        QCOMPARE(lockedKiB(), before);

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0)
            _exit(threeSecretsUnderAOnePageLimit());
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_GUILESS_MAIN(TestSecretText)
#include "test_secrettext.moc"
