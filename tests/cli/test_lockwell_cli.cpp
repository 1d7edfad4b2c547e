// lockwell-cli as a user and a script meet it: every command on a small data file, each file it must
// refuse (with its own message, the folder left exactly as it was), the clipboard under X, a new master
// password, and a write while another process has the file open. Every command but clip runs without a
// display.
#include "CliRun.h"
#include "DataFileFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The sqlcipher shell with the data file open under its password and under the shared flock every Lockwell
// connection holds: another Lockwell holding the file.
class ShellHolder
{
public:
    ShellHolder(const QString& path, const char* statements)
    {
        m_shell.start(QStringLiteral("flock"), {QStringLiteral("--shared"), path, QStringLiteral("sqlcipher"), path});
        m_shell.write("PRAGMA key = 'master pwK7352';\nPRAGMA cipher_page_size = 16384;\n"
                      "PRAGMA kdf_iter = 256000;\n");
        m_shell.write(statements);
    }
    ~ShellHolder()
    {
        m_shell.closeWriteChannel();
        m_shell.waitForFinished(10000);
    }
    // The next line the shell prints.
    QString answer(const char* statements = "")
    {
        m_shell.write(statements);
        while (!m_shell.canReadLine() && m_shell.waitForReadyRead(20000)) {
        }
        return QString::fromUtf8(m_shell.readLine()).trimmed();
    }

private:
    QProcess m_shell;
};

QString clipboard(const char* target = "UTF8_STRING")
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", target});
    xclip.waitForFinished(5000);
    return QString::fromUtf8(xclip.readAllStandardOutput());
}
} // namespace

class TestLockwellCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_vault;

    // A copy of the data file, alone in a folder of its own.
    QString copyOfVault(const QString& name)
    {
        QDir(m_dir.path()).mkdir(name);
        const QString copy = m_dir.filePath(name + QStringLiteral("/vault.lwd"));
        QFile::copy(m_vault, copy);
        return copy;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_vault = m_dir.filePath(QStringLiteral("vault.lwd"));
        QCOMPARE(cli({"create", m_vault}).status, 0);
        QCOMPARE(QFile::permissions(m_vault),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QFile file(m_vault);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.read(16).startsWith("SQLite format 3")); // encrypted from the first byte
        QCOMPARE(cli({"create", m_vault}).err,
                 "lockwell-cli: " + m_vault + ": already exists; create makes a new file only\n");
        QCOMPARE(cli({"create", m_dir.filePath("short.lwd")}, "abc\n").status, 1);
        QVERIFY(!QFile::exists(m_dir.filePath("short.lwd")));
    }

    // Rows run in order on one data file. out is a pattern the whole standard output must match; err a
    // text standard error must hold.
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString v = QStringLiteral("{vault}");
        const QString any = QStringLiteral("[\\s\\S]*");
        const QString drawn = QStringLiteral("[0-9A-HJKMNP-Za-hjkmnp-z]");

        QTest::newRow("add, password asked")
            << QStringList{"add",   v,        "Bank",      "--url",   "https://bank.example", "--user",
                           "alice", "--hint", "first pet", "--notes", "line 1\nline 2",       "-p"}
            << QByteArray("master pw\nrecord pw\n") << 0 << "Added 'Bank'.\n"
            << "";
        QTest::newRow("add, password drawn")
            << QStringList{"add", v, "Mail", "-g", "--length", "12"} << kMaster << 0 << any << "";
        QTest::newRow("add, a name taken")
            << QStringList{"add", v, "Bank", "--url", "https://other.example"} << kMaster << 0 << any << "";
        QTest::newRow("ls: account order, then file order")
            << QStringList{"ls", v} << kMaster << 0
            << "Bank\thttps://bank\\.example\talice\nBank\thttps://other\\.example\t\nMail\t\t\n"
            << "";
        QTest::newRow("a shared name is refused and listed")
            << QStringList{"show", v, "Bank"} << kMaster << 1 << ""
            << "2 records are named 'Bank'; choose one with --url:\n  Bank\thttps://bank.example\talice\n";
        QTest::newRow("show: secrets protected")
            << QStringList{"show", v, "Bank", "--url", "https://bank.example"} << kMaster << 0
            << "Account: Bank\nURL: https://bank\\.example\nUser ID: alice\nPassword: PROTECTED\nHint: PROTECTED\n"
               "Key 1: PROTECTED\nKey 2: PROTECTED\nKey 3: PROTECTED\nKey 4: PROTECTED\nNotes: line 1\n  line 2\n"
            << "";
        QTest::newRow("show -s, a name in another case") << QStringList{"show", "-s", v, "mail"} << kMaster << 0
                                                         << any + "Password: " + drawn + "{12}\n" + any << "";
        QTest::newRow("edit: rename one of two")
            << QStringList{"edit",     v,         "Bank",   "--match-url", "https://other.example",
                           "--rename", "Savings", "--user", "bob"}
            << kMaster << 0 << any << "";
        QTest::newRow("rm") << QStringList{"rm", v, "Mail"} << kMaster << 0 << any << "";
        QTest::newRow("ls after the changes")
            << QStringList{"ls", v} << kMaster << 0
            << "Bank\thttps://bank\\.example\talice\nSavings\thttps://other\\.example\tbob\n"
            << "";
        QTest::newRow("check")
            << QStringList{"check", v} << kMaster << 0
            << "File: .*\nRecords: 2\nPage size: 16384 bytes, \\d+ pages\nCipher: AES-256-CBC with an "
               "HMAC-SHA1 on every page .*\nKey derivation: PBKDF2-HMAC-SHA1, 256000 iterations\n"
               "Integrity: ok\n"
            << "";
        QTest::newRow("generate") << QStringList{"generate"} << QByteArray() << 0 << drawn + "{16}\n"
                                  << "";
        QTest::newRow("no such command") << QStringList{"frob"} << QByteArray() << 2 << ""
                                         << "no command 'frob'";
        QTest::newRow("FILE missing") << QStringList{"ls"} << QByteArray() << 2 << ""
                                      << "ls: FILE is missing";
        QTest::newRow("too long") << QStringList{"add", v, "X", "--user", QString(51, 'u')} << kMaster << 2 << ""
                                  << "add: --user takes at most 50 characters";
        QTest::newRow("no such record") << QStringList{"rm", v, "Nobody"} << kMaster << 1 << ""
                                        << "no record named 'Nobody'";
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        arguments.replaceInStrings(QStringLiteral("{vault}"), m_vault);
        const Run run = cli(arguments, input);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out)).match(run.out).hasMatch(),
                 qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        if (status == 1) // one line that says why, and for a choice the lines to choose from
            QVERIFY(run.err.startsWith(QLatin1String("lockwell-cli: ")) && !run.err.contains("\nlockwell-cli"));
    }

    // Each file a command must refuse: its own message on one line, exit status 1, and the folder exactly
    // as it was.
    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << "wrong password"
                                        << "wrong password: the master password does not open this data file";
        QTest::newRow("missing") << "missing"
                                 << "no such file";
        QTest::newRow("folder") << "folder"
                                << "a folder or a device, not a data file";
        QTest::newRow("foreign") << "foreign"
                                 << "not a Lockwell data file";
        QTest::newRow("unencrypted") << "unencrypted"
                                     << "not a Lockwell data file: it is not encrypted";
        QTest::newRow("read-only") << "read-only"
                                   << "read-only: the file or its folder cannot be written";
        QTest::newRow("locked") << "locked"
                                << "locked: another program is using the data file";
    }

    void refusals()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString path = copyOfVault(QString(kind).replace(' ', '-'));
        QByteArray input = kMaster;
        std::unique_ptr<ShellHolder> holder;
        if (kind == QLatin1String("wrong password")) {
            input = "master PW\n";
        } else if (kind == QLatin1String("missing")) {
            QFile::remove(path);
        } else if (kind == QLatin1String("folder")) {
            QFile::remove(path);
            QDir().mkdir(path);
        } else if (kind == QLatin1String("foreign")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("name,password\nbank,1234\n");
        } else if (kind == QLatin1String("unencrypted")) {
            QFile::remove(path);
            QCOMPARE(QProcess::execute("sqlcipher", {path, "CREATE TABLE notes (text);"}), 0);
        } else if (kind == QLatin1String("read-only")) {
            QFile::setPermissions(path, QFile::ReadOwner);
        } else if (kind == QLatin1String("locked")) {
            holder = std::make_unique<ShellHolder>(path, "PRAGMA locking_mode = EXCLUSIVE;\nBEGIN EXCLUSIVE;\n");
            QCOMPARE(holder->answer(), QStringLiteral("exclusive"));
            QCOMPARE(holder->answer("SELECT count(*) FROM tblAccount;\n"), QStringLiteral("2"));
        }
        const fixtures::FolderSnapshot before(QFileInfo(path).absolutePath());
        for (const QStringList& arguments : {QStringList{"ls", path}, QStringList{"add", path, "New"}}) {
            const Run run = cli(arguments, input);
            QCOMPARE(run.status, 1);
            QVERIFY2(run.err.startsWith("lockwell-cli: " + path + ": " + message) && run.err.count('\n') == 1,
                     qPrintable(run.err));
        }
        QVERIFY(before == fixtures::FolderSnapshot(QFileInfo(path).absolutePath()));
    }

    void clipClearsOnlyItsOwnText()
    {
        QProcess clip;
        clip.start(QStringLiteral(LW_CLI), {"clip", m_vault, "Bank", "--timeout", "2"});
        clip.write(kMaster);
        clip.closeWriteChannel();
        QTRY_VERIFY2_WITH_TIMEOUT(clipboard() == QLatin1String("record pw"), clip.readAllStandardError().constData(),
                                  30000);
        QVERIFY(clipboard("TARGETS").contains("x-kde-passwordManagerHint"));
        QFile limits(QStringLiteral("/proc/%1/limits").arg(clip.processId()));
        QVERIFY(limits.open(QIODevice::ReadOnly));
        QVERIFY(
            QRegularExpression("Max core file size +0 +0 ").match(QString::fromLatin1(limits.readAll())).hasMatch());
        QVERIFY(clip.waitForFinished(15000));
        QCOMPARE(clip.exitCode(), 0);
        QCOMPARE(clipboard(), QString());

        // The user copies something else while the password waits: it is left alone.
        clip.start(QStringLiteral(LW_CLI), {"clip", m_vault, "Bank", "--field", "user", "--timeout", "3"});
        clip.write(kMaster);
        clip.closeWriteChannel();
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), QStringLiteral("alice"), 30000);
        QProcess user;
        user.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard"});
        user.write("the user's own text");
        user.closeWriteChannel();
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), QStringLiteral("the user's own text"), 5000);
        QVERIFY(clip.waitForFinished(15000));
        QCOMPARE(clipboard(), QStringLiteral("the user's own text"));
        user.kill();
        user.waitForFinished();
    }

    void rekeyRefusesTheOldPassword()
    {
        const QString path = copyOfVault(QStringLiteral("rekey"));
        QCOMPARE(cli({"rekey", path}, "master pw\nnew master\n").status, 0);
        QVERIFY(cli({"ls", path}).err.contains("wrong password"));
        QCOMPARE(cli({"ls", path}, "new master\n").out, cli({"ls", m_vault}).out);
        QCOMPARE(cli({"rekey", path}, "master pw\nnew master 2\n").status, 1); // the old one no longer opens it
    }

    // Another process has the file open (as the window would): a write goes in beside it and the other
    // process reads it; a new password, which would replace the file under it, is refused.
    void writesWhileAnotherProcessHoldsTheFile()
    {
        const QString path = copyOfVault(QStringLiteral("shared"));
        ShellHolder holder(path, "");
        QCOMPARE(holder.answer("SELECT count(*) FROM tblAccount;\n"), QStringLiteral("2"));
        QCOMPARE(cli({"add", path, "Added beside"}).status, 0);
        QCOMPARE(holder.answer("SELECT count(*) FROM tblAccount WHERE Account = 'Added beside';\n"),
                 QStringLiteral("1"));
        const Run rekey = cli({"rekey", path}, "master pw\nnew master\n");
        QCOMPARE(rekey.status, 1);
        QVERIFY2(rekey.err.contains("locked: another program is using the data file"), qPrintable(rekey.err));
        QCOMPARE(cli({"ls", path}).status, 0);
    }

    void linksNoWidgets()
    {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {QStringLiteral(LW_CLI)});
        QVERIFY(ldd.waitForFinished(10000));
        const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        QVERIFY(libraries.contains("libQt6Core"));
        QVERIFY(!libraries.contains("libQt6Widgets"));
    }
};

QTEST_GUILESS_MAIN(TestLockwellCli)
#include "test_lockwell_cli.moc"
