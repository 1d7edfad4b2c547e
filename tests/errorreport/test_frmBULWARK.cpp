// The error report dialog: printing its views, and the reporter that the error trap asks.
#include "TestSupport.h"
#include "errorreport/ReportDialogReporter.h"
#include "errorreport/ReportPrint.h"
#include "errorreport/frmBULWARK.h"
#include "errortrap/Bulwark.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {
BwErrorReport sampleReport()
{
    BwErrorReport report;
    report.number = 13;
    report.description = QStringLiteral("Type mismatch");
    report.module = QStringLiteral("frmLogin.frm");
    report.procedure = QStringLiteral("Sub cmdOK_Click");
    report.trace = {QStringLiteral("1 : Module1.bas : Sub Main : "),
                    QStringLiteral("2 : \tfrmLogin.frm : Sub cmdOK_Click : "),
                    QStringLiteral("3 : \t\tbasHelper.bas : Sub Fail : ")};
    return report;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestFrmBulwark : public QObject
{
    Q_OBJECT

    std::unique_ptr<support::Environment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<support::Environment>();
        ReportDialogSeam::clear();
    }
    void cleanup() { m_env.reset(); }

    // What is printed is the chosen view's text; read back from a PDF by a tool of its own.
    void printingPutsTheViewOnPaper()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("   CPU.................Test CPU\r\n"));
        QVERIFY(d.viewText(2).contains(QStringLiteral("\r\nCode Pointer : frmLogin.frm : Sub cmdOK_Click\r\n")));
        const QString pdf = m_env->path(QStringLiteral("report.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            bwPrintReport(printer, d.windowTitle(), d.viewText(frmBULWARK::SystemView));
        }
        // The words as printed, in reading order, with their left and right edges in points.
        QProcess tool;
        tool.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(tool.waitForFinished(30000));
        static const QRegularExpression wordPattern(
            QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
        QStringList words;
        QList<double> left, right;
        for (const auto& m : wordPattern.globalMatch(QString::fromUtf8(tool.readAllStandardOutput()))) {
            words << m.captured(3);
            left << m.captured(1).toDouble();
            right << m.captured(2).toDouble();
        }
        // The title, the view, and the page number at the foot.
        QCOMPARE(words.join(QLatin1Char(' ')),
                 QStringLiteral("Program Error Intercepted System State Information CPU.................Test CPU 1"));
        // Fixed pitch keeps the line's three leading blanks: "CPU" starts three characters in from the margin.
        const int dotted = 6;
        const double charWidth = (right.at(dotted) - left.at(dotted)) / words.at(dotted).size();
        const double margin = *std::min_element(left.cbegin(), left.cend());
        QVERIFY2(qAbs((left.at(dotted) - margin) / charWidth - 3) < 0.5, qPrintable(QString::number(charWidth)));
    }

    // Through the error trap: the dialog's answer decides how the handler goes on, and the note is logged.
    void reporterAnswersTheTrap()
    {
        QFile ini(m_env->path(QStringLiteral("BWCLIENT.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[log file]\nWrite To Disk=1\n");
        ini.close();
        bwReset(); // the trap reads its configuration when it starts
        bwSetProgramFolder(m_env->path());
        installReportDialogReporter();

        ReportDialogSeam::setNextAnswer(frmBULWARK::kContinue, QStringLiteral("I was saving\nthe record"));
        int runs = 0;
        bwHandler("frmMain.frm", "Sub cmdAdd_Click", [&] {
            ++runs;
            throw RuntimeError(3021, QStringLiteral("No current record."), QStringLiteral("Lockwell"));
        });
        QCOMPARE(runs, 1);

        ReportDialogSeam::setNextAnswer(frmBULWARK::kMore, QStringLiteral("again"));
        runs = 0;
        bwHandler("frmMain.frm", "Sub cmdClear_Click", [&] {
            if (++runs == 1)
                throw RuntimeError(3021, QStringLiteral("No current record."), QStringLiteral("Lockwell"));
        });
        QCOMPARE(runs, 2); // More tries the action again

        // Nothing queued and no desktop to show the dialog on: answered Continue at once.
        bwHandler("frmMain.frm", "Sub cmdFilter_Click",
                  [] { throw RuntimeError(5, QStringLiteral("Invalid procedure call or argument")); });

        QCOMPARE(ReportDialogSeam::shown().size(), 3);
        QCOMPARE(ReportDialogSeam::shown().first().procedure, QStringLiteral("Sub cmdAdd_Click"));
        const QString log = QString::fromUtf8(readAll(m_env->path(QStringLiteral("bwError.log"))));
        QVERIFY(log.contains(QStringLiteral("Answer : Go on\r\nUser Said : I was saving\r\nthe record\r\n")));
        QVERIFY(log.contains(QStringLiteral("Answer : Retry\r\nUser Said : again\r\n")));
        QCOMPARE(log.count(QStringLiteral("*Error ")), 3);
    }
};

QTEST_MAIN(TestFrmBulwark)
#include "test_frmBULWARK.moc"
