#include "errortrap/Bulwark.h"
#include "errortrap/BwFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
// Traced procedures of a pretend form, as the program's own are written.
void failingHelper(int number)
{
    BW_TRACE("basHelper.bas", "Sub Fail");
    throw RuntimeError(number, QStringLiteral("Type mismatch"), QStringLiteral("Lockwell"));
}

void tracedLeaf()
{
    BW_TRACE("basHelper.bas", "Sub Leaf");
}

// Enters with tracing on and leaves with it off, as the records window's load does.
void switchTracingOff()
{
    BW_TRACE("frmMain.frm", "Sub setErrorTrapOptions");
    bwOption(22, 0);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestBulwark : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<BwErrorReport> m_reports;

    QString path(const QString& name) const { return m_dir->filePath(name); }

    void writeConfig(const QByteArray& text)
    {
        QFile file(path(QStringLiteral("BWCLIENT.INI")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // A reporter that records what it was told and gives the queued answers in turn, then Leave.
    void answerWith(QList<BwReportAnswer> answers)
    {
        auto queue = std::make_shared<QList<BwReportAnswer>>(std::move(answers));
        bwSetReporter([this, queue](const BwErrorReport& report) {
            m_reports << report;
            return queue->isEmpty() ? BwReportAnswer{} : queue->takeFirst();
        });
    }

    QStringList filesInFolder() const { return QDir(m_dir->path()).entryList(QDir::Files); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_reports.clear();
        bwReset();
        bwSetProgramFolder(m_dir->path());
    }
    void cleanup() { bwReset(); }

    // An error two levels down, answered Leave: the handler returns, every level is popped, and the report
    // carries the trace of the moment the error was raised.
    void leaveKeepsTheTraceBalanced()
    {
        answerWith({BwReportAnswer{BwAction::Leave, QString()}});
        BW_TRACE("Module1.bas", "Sub Main");
        const int before = bwDepth();
        bool after = false;
        bwHandler("frmMain.frm", "Sub cmdOK_Click", [&] {
            tracedLeaf();
            failingHelper(BwErr::TypeMismatch);
            after = true;
        });
        QVERIFY(!after);
        QCOMPARE(bwDepth(), before);
        QCOMPARE(bwTraceEntries(), QStringList{QStringLiteral("1 : Module1.bas : Sub Main : ")});
        QCOMPARE(m_reports.size(), 1);
        const BwErrorReport& r = m_reports.first();
        QCOMPARE(r.number, 13);
        QCOMPARE(r.description, QStringLiteral("Type mismatch"));
        QCOMPARE(r.source, QStringLiteral("Lockwell"));
        QCOMPARE(r.module, QStringLiteral("frmMain.frm"));
        QCOMPARE(r.procedure, QStringLiteral("Sub cmdOK_Click"));
        QCOMPARE(r.trace, QStringList({QStringLiteral("1 : Module1.bas : Sub Main : "),
                                       QStringLiteral("2 : \tfrmMain.frm : Sub cmdOK_Click : "),
                                       QStringLiteral("3 : \t\tbasHelper.bas : Sub Fail : ")}));
    }

    void retryRunsTheBodyAgain()
    {
        answerWith({BwReportAnswer{BwAction::Retry, QString()}, BwReportAnswer{BwAction::Retry, QString()},
                    BwReportAnswer{BwAction::GoOn, QString()}});
        int runs = 0;
        bwHandler("frmMain.frm", "Sub mnuOpen_Click", [&] {
            ++runs;
            failingHelper(BwErr::FileNotFound);
        });
        QCOMPARE(runs, 3);
        QCOMPARE(m_reports.size(), 3);
        QCOMPARE(bwDepth(), 0);

        // Retry until the body succeeds, and a foreign exception reaches the trap as an internal error.
        m_reports.clear();
        answerWith({BwReportAnswer{BwAction::Retry, QString()}});
        runs = 0;
        bwHandler("frmMain.frm", "Sub mnuSave_Click", [&] {
            if (++runs == 1)
                throw std::out_of_range("index");
        });
        QCOMPARE(runs, 2);
        QCOMPARE(m_reports.first().number, BwErr::InternalError);
    }

    // No configuration file: every key at its default, so tracing and errors leave nothing on disk.
    void noConfigurationWritesNothing()
    {
        answerWith({});
        for (int i = 0; i < 30; ++i) {
            tracedLeaf();
            bwHandler("frmMain.frm", "Sub Timer2_Timer", [] { failingHelper(5); });
        }
        QCOMPARE(m_reports.size(), 30);
        QCOMPARE(filesInFolder(), QStringList());
    }

    // With the circular log on, the eleventh trace line goes back into record 1 at byte 513.
    void eleventhLineOverwritesRecordOne()
    {
        writeConfig("[Log File]\r\nCircularLog=1\r\n[CircularLog]\r\nMaxRecords=10\r\nRecordSize=1024\r\n");
        for (int i = 0; i < 5; ++i)
            tracedLeaf();                                 // lines 1-10
        bwHandler("frmMain.frm", "Sub Form_Load", [] {}); // line 11 enters, line 12 leaves
        const QByteArray file = readAll(path(QStringLiteral("circ0001.log")));
        QCOMPARE(file.left(5), QByteArray("HM100"));
        QCOMPARE(file.size(), 512 + 10 * 1024);
        const QByteArray record1 = file.mid(512, 1024);
        QVERIFY2(record1.contains("[00011] -> 1 : frmMain.frm : Sub Form_Load : "), record1.left(80).constData());
        QVERIFY(record1.endsWith("\r\n"));
        QVERIFY(file.mid(512 + 1024, 1024).contains("[00012] <- 1 : frmMain.frm : Sub Form_Load : "));
        QVERIFY(file.mid(512 + 2 * 1024, 1024).contains("[00003] -> 1 : basHelper.bas : Sub Leaf : "));
    }

    // Once option 22 is 0, entering and leaving procedures changes neither the depth nor any log; errors are
    // still reported, without a trace. The procedure that switched tracing off still leaves the trace, so
    // no stale level stays behind. Switching it back on resumes tracing.
    void tracingSwitchedOffFreezesDepthAndLogs()
    {
        writeConfig("[Log File]\nCircularLog=1\n[log file]\nCapture To Disk=1\nLog File=trace.log\n");
        answerWith({});
        BW_TRACE("frmMain.frm", "Sub Form_Load");
        tracedLeaf();
        switchTracingOff();
        QVERIFY(!bwdetail::g_tracing);
        QCOMPARE(bwDepth(), 1);
        const QByteArray ring = readAll(path(QStringLiteral("circ0001.log")));
        const QByteArray log = readAll(path(QStringLiteral("trace.log")));
        QVERIFY(!ring.isEmpty() && !log.isEmpty());
        for (int i = 0; i < 3; ++i) {
            tracedLeaf();
            bwHandler("frmMain.frm", "Sub cmdAdd_Click", [] { failingHelper(5); });
        }
        QCOMPARE(bwDepth(), 1);
        QCOMPARE(m_reports.size(), 3);
        QCOMPARE(m_reports[0].trace, QStringList());
        QCOMPARE(readAll(path(QStringLiteral("circ0001.log"))), ring);
        QCOMPARE(readAll(path(QStringLiteral("trace.log"))), log);

        bwOption(22, 1);
        tracedLeaf();
        QCOMPARE(bwDepth(), 1);
        QVERIFY(readAll(path(QStringLiteral("trace.log"))).size() > log.size());
    }

    // Captured lines: a start line, then "[ms][nnnnn] -> entry" with the figures the include options ask for.
    void capturedTraceLines()
    {
        writeConfig("[log file]\nCapture To Disk=1\n[include]\nResources=0\n");
        tracedLeaf();
        bwOption(13, 1);
        bwOption(12, 0);
        tracedLeaf();
        const QStringList lines =
            QString::fromUtf8(readAll(path(QStringLiteral("error.log")))).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QVERIFY(QRegularExpression(QStringLiteral(R"(^\[[-0-9: ]+\] START PROGRAM$)")).match(lines[0]).hasMatch());
        const QString entry = QStringLiteral("1 : basHelper.bas : Sub Leaf : ");
        const QString head = QStringLiteral(R"(^\[\d+\]\[%1\] %2 )");
        auto matches = [&](int i, const QString& pattern) {
            return QRegularExpression(pattern).match(lines[i]).hasMatch();
        };
        QVERIFY2(matches(1, head.arg("00001", "->") + QRegularExpression::escape(entry) + R"( : \[mem = \d+\]$)"),
                 qPrintable(lines[1]));
        QVERIFY(matches(2, head.arg("00002", "<-") + QRegularExpression::escape(entry) + R"( : \[mem = \d+\]$)"));
        QVERIFY2(matches(3, head.arg("00003", "->") + QRegularExpression::escape(entry) + R"( : \[res =\d+%\]$)"),
                 qPrintable(lines[3]));
        QVERIFY(lines[5].isEmpty());
    }

    // Naming the log file marks the run's start there at once; a full log becomes the one previous file.
    void theLogFileStartsEachRunAndStaysBounded()
    {
        const QString log = path(QStringLiteral("LWD.LOG"));
        const QString previous = path(QStringLiteral("LWD.LOG.1"));
        QFile full(log);
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(full.write(QByteArray(BwFiles::kLogFileLimit, 'x')) == BwFiles::kLogFileLimit);
        full.close();
        QFile older(previous);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        older.close();

        bwOption(11, true);
        bwOption(16, QStringLiteral("LWD.LOG"));
        const QByteArray started = readAll(log);
        QVERIFY2(QRegularExpression(QStringLiteral(R"(^\[[-0-9: ]+\] START PROGRAM\r\n$)"))
                     .match(QString::fromUtf8(started))
                     .hasMatch(),
                 started.constData());
        QCOMPARE(readAll(previous), QByteArray(BwFiles::kLogFileLimit, 'x'));
        bwEndProgram();
        QVERIFY(readAll(log).startsWith(started));
        QVERIFY(readAll(log).contains("END PROGRAM"));
        QCOMPARE(filesInFolder(), QStringList({"LWD.LOG", "LWD.LOG.1"}));
    }

    // The error log, under the configured name, with its markers and the user's note.
    void errorLogRecordsTheError()
    {
        writeConfig("[log file]\nWrite To Disk=1\nLog File=trap.log\n[include]\nUser=0\n");
        answerWith({BwReportAnswer{BwAction::GoOn, QStringLiteral("I clicked OK\r\ntwice")}});
        BW_TRACE("Module1.bas", "Sub Main");
        bwHandler("frmLogin.frm", "Sub cmdOK_Click", [] { failingHelper(BwErr::TypeMismatch); });
        const QString log = QString::fromUtf8(readAll(path(QStringLiteral("trap.log"))));
        QVERIFY(
            QRegularExpression(QStringLiteral(R"(^\*Error \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n)")).match(log).hasMatch());
        const QString body = log.mid(log.indexOf(QStringLiteral("\r\n")) + 2);
        QCOMPARE(body, QStringLiteral("Runtime error 13 on line 0 : Type mismatch\r\n"
                                      "Source : Lockwell\r\n"
                                      "Code Pointer : frmLogin.frm : Sub cmdOK_Click\r\n"
                                      "1 : Module1.bas : Sub Main : Call\r\n"
                                      "2 : \tfrmLogin.frm : Sub cmdOK_Click : Trap\r\n"
                                      "3 : \t\tbasHelper.bas : Sub Fail : Error\r\n"
                                      "Answer : Go on\r\n"
                                      "User Said : I clicked OK\r\ntwice\r\n"
                                      "\r\n"));
    }

    // Silent run: nobody is asked, the answer is Leave, and the error goes to the fallback log name.
    void silentRunOnlyLogs()
    {
        writeConfig("[preferences]\nSilent Run=1\n[log file]\nWrite To Disk=1\n");
        answerWith({BwReportAnswer{BwAction::Retry, QString()}});
        int runs = 0;
        bwHandler("frmMain.frm", "Sub Timer1_Timer", [&] {
            ++runs;
            failingHelper(7);
        });
        QCOMPARE(runs, 1);
        QVERIFY(m_reports.isEmpty());
        QVERIFY(readAll(path(QStringLiteral("bwError.log"))).contains("Answer : Leave\r\nUser Said : \r\n"));
    }

    // A reporter that fails is the trap's own internal error: logged, answered Leave, no second report.
    void failingReporterIsAnInternalError()
    {
        writeConfig("[log file]\nWrite To Disk=1\n");
        int calls = 0;
        bwSetReporter([&](const BwErrorReport&) -> BwReportAnswer {
            ++calls;
            throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("Invalid procedure call"));
        });
        int runs = 0;
        bwHandler("frmMain.frm", "Sub cmdPrint_Click", [&] {
            ++runs;
            failingHelper(91);
        });
        QCOMPARE(runs, 1);
        QCOMPARE(calls, 1);
        const QByteArray log = readAll(path(QStringLiteral("bwError.log")));
        QVERIFY(log.contains("An internal error 5 has occurred in module BULWARK.BAS, procedure pfErr(), line 0"));
        QVERIFY(log.contains("Runtime error 91 on line 0 : Type mismatch"));
    }
};

QTEST_MAIN(TestBulwark)
#include "tst_Bulwark.moc"
