#include "errorreport/frmBULWARK.h"

#include "errorreport/ErrorReportText.h"
#include "errorreport/KnowledgeBase.h"
#include "errorreport/ReportNotice.h"
#include "errorreport/ReportPrint.h"
#include "errorreport/SystemInfoReport.h"
#include "errortrap/DefaultReporter.h"
#include "ui_frmBULWARK.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPointer>
#include <QScreen>

namespace {
constexpr const char* kModule = "frmBULWARK.frm";
constexpr int kForceSystemInfo = 24;
constexpr int kDescriptionLines = 3;

frmBULWARK::HelpHook& helpHook()
{
    static frmBULWARK::HelpHook hook;
    return hook;
}
} // namespace

frmBULWARK::frmBULWARK(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmBULWARK>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);

    QFont bold = ui->lblMessage->font();
    bold.setBold(true);
    ui->lblMessage->setFont(bold);
    ui->Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The line field always shows the same text: room for all of it.
    constexpr int kLineEditPadding = 16;
    ui->ErrLine->setMinimumWidth(ui->ErrLine->fontMetrics().horizontalAdvance(ErrorReportText::kNoLineNumbers) +
                                 kLineEditPadding);
    const int lineHeight = ui->errText->fontMetrics().lineSpacing();
    ui->errText->setFixedHeight(lineHeight * kDescriptionLines + 2 * ui->errText->frameWidth() + 8);

    connect(ui->Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmBULWARK::Combo1_Click);
    connect(ui->nsCtrlContinue, &QPushButton::clicked, this, &frmBULWARK::nsCtrlContinue_Click);
    connect(ui->nsCtrlMore, &QPushButton::clicked, this, &frmBULWARK::nsCtrlMore_Click);
    connect(ui->nsHelp, &QPushButton::clicked, this, &frmBULWARK::nsHelp_Click);
    connect(ui->bwPrint, &QPushButton::clicked, this, &frmBULWARK::bwPrint_Click);
    connect(ui->cmdWWW, &QPushButton::clicked, this, &frmBULWARK::cmdWWW_Click);

    Form_Load();
}

frmBULWARK::~frmBULWARK() = default;

void frmBULWARK::Form_Load()
{
    BW_TRACE(kModule, "Sub Form_Load");
    ui->nsHelp->setEnabled(static_cast<bool>(helpHook()));
    ui->Text1->setFocus();
}

void frmBULWARK::fill(const BwErrorReport& report)
{
    BW_TRACE(kModule, "Sub fill");
    fill(report, systemInfoReport());
}

void frmBULWARK::fill(const BwErrorReport& report, const QString& systemReport)
{
    BW_TRACE(kModule, "Sub fill");
    m_report = report;
    m_systemReport = systemReport;

    ui->lblMessage->setText(bwErrorMessageText(report));
    ui->ErrNo->setText(QString::number(report.number));
    ui->errText->setPlainText(report.description);
    ui->ErrModule->setText(report.module);
    ui->ErrProcedure->setText(report.procedure);
    ui->ErrLine->setText(ErrorReportText::kNoLineNumbers);
    ui->ErrType->setText(ErrorReportText::category(report));
    ui->errProject->setText(ErrorReportText::source(report));
    ui->nsCtrlCalls->clear();
    ui->nsCtrlCalls->addItems(ErrorReportText::callTree(report));
    ui->nsCtrlArgs->clear();
    ui->nsCtrlArgs->addItems(ErrorReportText::arguments(report));
    for (QLineEdit* box : {ui->ErrNo, ui->ErrModule, ui->ErrProcedure, ui->ErrLine, ui->ErrType, ui->errProject})
        box->setCursorPosition(0);

    // The note view comes first, unless the configuration asks for the system information up front.
    const int view = bwOption(kForceSystemInfo, QStringLiteral("GET")).toBool() ? SystemView : NoteView;
    if (ui->Combo1->currentIndex() == view)
        Combo1_Click(view);
    else
        ui->Combo1->setCurrentIndex(view);
}

frmBULWARK::Result frmBULWARK::run(const BwErrorReport& report, QWidget* owner)
{
    BW_TRACE(kModule, "Function run");
    QPointer<frmBULWARK> dialog = new frmBULWARK(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->fill(report);
    dialog->centreOnScreen();
    dialog->exec();
    Result result;
    if (dialog) {
        result.actionCode = dialog->ActionCode;
        result.note = dialog->UserNote();
        delete dialog.data();
    }
    return result;
}

QString frmBULWARK::UserNote() const
{
    BW_TRACE(kModule, "Function UserNote");
    return m_shownView == NoteView ? ui->Text1->toPlainText() : m_note;
}

QString frmBULWARK::viewText(int view) const
{
    BW_TRACE(kModule, "Function viewText");
    switch (view) {
    case ErrorSourceView:
        return ErrorReportText::errorInformation(m_report);
    case TraceView:
        return ErrorReportText::callTreeAndArguments(m_report);
    case SystemView:
        return ErrorReportText::systemState(m_systemReport);
    default:
        return ErrorReportText::errorInformation(m_report) + QStringLiteral("\r\nUser Said : ") + UserNote() +
               QStringLiteral("\r\n");
    }
}

void frmBULWARK::Combo1_Click(int index)
{
    bwHandler(kModule, "Sub Combo1_Click", [&] {
        if (m_shownView == NoteView)
            m_note = ui->Text1->toPlainText();
        m_shownView = index;
        if (index == NoteView) {
            ui->Text1->setReadOnly(false);
            ui->Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            ui->Text1->setPlainText(m_note);
            ui->Text1->moveCursor(QTextCursor::End);
        } else {
            ui->Text1->setReadOnly(true);
            ui->Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
            QString text = viewText(index);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            ui->Text1->setPlainText(text);
        }
    });
}

void frmBULWARK::finish(int code)
{
    BW_TRACE(kModule, "Sub finish");
    if (m_shownView == NoteView)
        m_note = ui->Text1->toPlainText();
    ActionCode = code;
    QDialog::done(QDialog::Accepted);
}

void frmBULWARK::nsCtrlContinue_Click()
{
    bwHandler(kModule, "Sub nsCtrlContinue_Click", [&] { finish(kContinue); });
}

void frmBULWARK::nsCtrlMore_Click()
{
    bwHandler(kModule, "Sub nsCtrlMore_Click", [&] { finish(kMore); });
}

// Escape and the close box (which Qt turns into reject) are never refused: they acknowledge the error like
// Continue.
void frmBULWARK::reject()
{
    BW_TRACE(kModule, "Sub reject");
    finish(kContinue);
}

void frmBULWARK::nsHelp_Click()
{
    bwHandler(kModule, "Sub nsHelp_Click", [&] {
        if (helpHook())
            helpHook()(this, m_report);
    });
}

void frmBULWARK::bwPrint_Click()
{
    bwHandler(kModule, "Sub bwPrint_Click",
              [&] { bwPrintReportWithDialog(this, windowTitle(), viewText(ui->Combo1->currentIndex())); });
}

void frmBULWARK::cmdWWW_Click()
{
    bwHandler(kModule, "Sub cmdWWW_Click",
              [&] { bwNotice(this, KnowledgeBase::message(KnowledgeBase::lookUp(m_report.number))); });
}

void frmBULWARK::setHelpHook(HelpHook hook)
{
    BW_TRACE(kModule, "Sub setHelpHook");
    helpHook() = std::move(hook);
}

void frmBULWARK::centreOnScreen()
{
    BW_TRACE(kModule, "Sub centreOnScreen");
    adjustSize();
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}
