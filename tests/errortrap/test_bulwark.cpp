#include "errortrap/Bulwark.h"

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
};

QTEST_MAIN(TestBulwark)
#include "test_bulwark.moc"
