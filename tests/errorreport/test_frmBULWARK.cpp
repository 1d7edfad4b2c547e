// The error report dialog: the filling from an error, the four views, the answers and the note,
// the knowledge base messages, printing, and the reporter that the error trap asks.
#include "errorreport/KnowledgeBase.h"
#include "errorreport/ReportDialogReporter.h"
#include "errorreport/ReportNotice.h"
#include "errorreport/ReportPrint.h"
#include "errorreport/frmBULWARK.h"
#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

namespace {
template <class T = QWidget> T* find(QObject* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

QString text1(QObject* d)
{
    return find<QPlainTextEdit>(d, "Text1")->toPlainText();
}

QComboBox* combo(QObject* d)
{
    return find<QComboBox>(d, "Combo1");
}

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

// Runs the dialog for `report`; `act` gets the shown dialog and must close it. A watchdog closes a dialog that
// stayed open, so a failing test never hangs.
frmBULWARK::Result runWith(const BwErrorReport& report, const std::function<void(frmBULWARK*)>& act)
{
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<frmBULWARK*>(QApplication::activeModalWidget()))
            act(dialog);
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    watchdog.start(10000);
    return frmBULWARK::run(report);
}

void typeNote(frmBULWARK* d, const QString& note)
{
    QTest::keyClicks(find<QPlainTextEdit>(d, "Text1"), note);
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

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        bwReset();
        bwSetProgramFolder(m_dir->path());
        ReportDialogSeam::clear();
        ReportNoticeSeam::clear();
        ReportNoticeSeam::setRecording(true);
        KnowledgeBase::setFolderOverride(m_dir->path());
        frmBULWARK::setHelpHook(nullptr);
    }
    void cleanup()
    {
        bwReset();
        KnowledgeBase::setFolderOverride(QString());
        ReportNoticeSeam::setRecording(false);
    }

    void fillsTheFieldsFromTheError()
    {
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("report"));
        QCOMPARE(find<QLabel>(&d, "lblMessage")->text(),
                 QStringLiteral("An unexpected 'Type mismatch' error occurred in frmLogin.frm Sub cmdOK_Click"));
        QCOMPARE(find<QLineEdit>(&d, "ErrNo")->text(), QStringLiteral("13"));
        QCOMPARE(find<QPlainTextEdit>(&d, "errText")->toPlainText(), QStringLiteral("Type mismatch"));
        QCOMPARE(find<QLineEdit>(&d, "ErrModule")->text(), QStringLiteral("frmLogin.frm"));
        QCOMPARE(find<QLineEdit>(&d, "ErrProcedure")->text(), QStringLiteral("Sub cmdOK_Click"));
        QCOMPARE(find<QLineEdit>(&d, "ErrLine")->text(), QStringLiteral(" <unavailable: line numbers not used>"));
        QCOMPARE(find<QLineEdit>(&d, "ErrType")->text(), QStringLiteral("Run-time error"));
        // No source named: the application is the source.
        QCOMPARE(find<QLineEdit>(&d, "errProject")->text(), QCoreApplication::applicationName());

        auto* calls = find<QListWidget>(&d, "nsCtrlCalls");
        QCOMPARE(calls->count(), 3);
        QCOMPARE(calls->item(0)->text(), QStringLiteral("1 : Module1.bas : Sub Main"));
        QCOMPARE(calls->item(2)->text(), QStringLiteral("3 :         basHelper.bas : Sub Fail"));
        auto* args = find<QListWidget>(&d, "nsCtrlArgs");
        QCOMPARE(args->count(), 3);
        QCOMPARE(args->item(1)->text(), QStringLiteral("<none>"));

        // Filled again with another error: nothing of the first one is left.
        BwErrorReport other;
        other.number = -2147217843;
        other.source = QStringLiteral("SQLCipher");
        d.fill(other, QString());
        QCOMPARE(find<QLineEdit>(&d, "ErrType")->text(), QStringLiteral("Data file error"));
        QCOMPARE(find<QLineEdit>(&d, "errProject")->text(), QStringLiteral("SQLCipher"));
        QCOMPARE(calls->count(), 1);
        QCOMPARE(calls->item(0)->text(), QStringLiteral("<unavailable: the procedure trace is switched off>"));
    }

    // The note survives a tour of the other views, which are read-only and show their own texts.
    void viewsAndTheNote()
    {
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("SYSTEM REPORT\r\nline two\r\n"));
        auto* text = find<QPlainTextEdit>(&d, "Text1");
        QCOMPARE(combo(&d)->currentIndex(), 0);
        QVERIFY(!text->isReadOnly());
        typeNote(&d, QStringLiteral("Saving a record"));

        combo(&d)->setCurrentIndex(1);
        QVERIFY(text->isReadOnly());
        const QStringList info = text1(&d).split(QLatin1Char('\n'));
        QCOMPARE(info.first(), QStringLiteral("Error Information"));
        QVERIFY(info.contains(QStringLiteral("Error No.     13")));
        QVERIFY(info.contains(QStringLiteral("Line Number    <unavailable: line numbers not used>")));

        combo(&d)->setCurrentIndex(2);
        const QString trace = text1(&d);
        QVERIFY(trace.startsWith(QStringLiteral("Call Tree & Arguments\n")));
        QVERIFY(trace.contains(QStringLiteral("Code Pointer : frmLogin.frm : Sub cmdOK_Click")));
        QVERIFY(trace.indexOf(QStringLiteral("Sub Main")) < trace.indexOf(QStringLiteral("Sub Fail")));
        QVERIFY(!trace.contains(QLatin1Char('\r')));

        combo(&d)->setCurrentIndex(3);
        QCOMPARE(text1(&d), QStringLiteral("System State Information\n\nSYSTEM REPORT\nline two\n"));
        QCOMPARE(d.UserNote(), QStringLiteral("Saving a record"));
        QCOMPARE(d.viewText(3), QStringLiteral("System State Information\r\n\r\nSYSTEM REPORT\r\nline two\r\n"));

        combo(&d)->setCurrentIndex(0);
        QVERIFY(!text->isReadOnly());
        QCOMPARE(text1(&d), QStringLiteral("Saving a record"));
        QVERIFY(d.viewText(0).endsWith(QStringLiteral("User Said : Saving a record\r\n")));
    }

    void forcedSystemInformationOpensOnItsView()
    {
        bwOption(24, 1);
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("SYSTEM"));
        QCOMPARE(combo(&d)->currentIndex(), 3);
        QVERIFY(text1(&d).endsWith(QStringLiteral("SYSTEM")));
        QCOMPARE(d.UserNote(), QString());
    }

    // Continue gives 0 and More 5; the close box and Escape are Continue. The note is kept each way, also when
    // another view is shown at the moment the dialog closes.
    void answersKeepTheNote_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::newRow("Continue") << "nsCtrlContinue" << 0;
        QTest::newRow("More") << "nsCtrlMore" << 5;
        QTest::newRow("close box") << "close" << 0;
        QTest::newRow("Escape") << "escape" << 0;
        QTest::newRow("Continue from another view") << "view+nsCtrlContinue" << 0;
    }
    void answersKeepTheNote()
    {
        QFETCH(QString, how);
        QFETCH(int, code);
        bool shown = false;
        const frmBULWARK::Result result = runWith(sampleReport(), [&](frmBULWARK* d) {
            shown = true;
            typeNote(d, QStringLiteral("Typing a URL"));
            if (how.startsWith(QLatin1String("view+"))) {
                combo(d)->setCurrentIndex(2);
                how = how.mid(5);
            }
            if (how == QLatin1String("close"))
                d->close();
            else if (how == QLatin1String("escape"))
                QTest::keyClick(d, Qt::Key_Escape);
            else
                find<QPushButton>(d, how.toLatin1().constData())->click();
        });
        QVERIFY(shown);
        QCOMPARE(result.actionCode, code);
        QCOMPARE(result.note, QStringLiteral("Typing a URL"));
    }

    // The three answers of the knowledge base, and nothing else in the dialog changes.
    void knowledgeBaseMessages()
    {
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("SYSTEM"));
        typeNote(&d, QStringLiteral("note"));
        auto* www = find<QPushButton>(&d, "cmdWWW");

        www->click();
        QCOMPARE(ReportNoticeSeam::shown(),
                 QStringList{QStringLiteral("Cannot find allmskb.txt -- assistance not available.")});
        QCOMPARE(text1(&d), QStringLiteral("note"));
        QCOMPARE(combo(&d)->currentIndex(), 0);

        QFile list(m_dir->filePath(QStringLiteral("allmskb.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("# error number, tab, article\n13\tQ100001 Type mismatch in a login form\n\n130\tQ999 not this one\n"
                   "5\tQ555 Invalid procedure call\n13\tQ100002 Converting settings text\n"
                   "  -2147217843 \tQ200001 Wrong password\r\n");
        list.close();
        ReportNoticeSeam::clear();
        www->click();
        QCOMPARE(ReportNoticeSeam::shown(),
                 QStringList{QStringLiteral("The following knowledge base article(s) may contain information to "
                                            "assist you:\r\n\r\nQ100001 Type mismatch in a login form\r\n"
                                            "Q100002 Converting settings text")});

        BwErrorReport unlisted = sampleReport();
        unlisted.number = 3021;
        d.fill(unlisted, QString());
        ReportNoticeSeam::clear();
        www->click();
        QCOMPARE(ReportNoticeSeam::shown(),
                 QStringList{QStringLiteral(
                     "No matching article was found. Try searching the knowledge base for the error number.")});
    }

    // What is printed is the chosen view's text; read back from a PDF by a tool of its own.
    void printingPutsTheViewOnPaper()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        frmBULWARK d;
        d.fill(sampleReport(), QStringLiteral("   CPU.................Test CPU\r\n"));
        const QString pdf = m_dir->filePath(QStringLiteral("report.pdf"));
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
        QFile ini(m_dir->filePath(QStringLiteral("BWCLIENT.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[log file]\nWrite To Disk=1\n");
        ini.close();
        bwReset(); // the trap reads its configuration when it starts
        bwSetProgramFolder(m_dir->path());
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
        const QString log = QString::fromUtf8(readAll(m_dir->filePath(QStringLiteral("bwError.log"))));
        QVERIFY(log.contains(QStringLiteral("Answer : Go on\r\nUser Said : I was saving\r\nthe record\r\n")));
        QVERIFY(log.contains(QStringLiteral("Answer : Retry\r\nUser Said : again\r\n")));
        QCOMPARE(log.count(QStringLiteral("*Error ")), 3);
    }
};

QTEST_MAIN(TestFrmBulwark)
#include "test_frmBULWARK.moc"
