#include "tools/frmAbout.h"

#include "LockwellVersion.h"
#include "app/StringTable.h"
#include "errorreport/ReportPrint.h"
#include "errorreport/SystemInfoReport.h"
#include "errortrap/Bulwark.h"
#include "ui_frmAbout.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kModule = "frmAbout.frm";
constexpr int kIconSize = 64;
constexpr int kTitleScale = 2;

const QString kDescription =
    QStringLiteral("A desktop vault for account credentials and PINs. Your records are kept in encrypted data files "
                   "that open with your master password.");
const QString kContact = QStringLiteral("Contact: Lockwell developers <lockwell@localhost>");
const QString kWarning =
    QStringLiteral("Warning: nobody can open your data files without your master password, not even the "
                   "developers. Remember it, and keep backup copies of your data files in a safe place.");

// The wait cursor while something slow runs; restored on every way out.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A window with the system information report, which the user can read, copy and print.
QDialog* createSystemInfoWindow(QWidget* owner)
{
    BW_TRACE(kModule, "Function createSystemInfoWindow");
    auto* window = new QDialog(owner);
    window->setObjectName(QStringLiteral("frmSysInfo"));
    window->setWindowTitle(QStringLiteral("System Information"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    auto* text = new QPlainTextEdit(window);
    text->setObjectName(QStringLiteral("txtReport"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString report = systemInfoReport();
    text->setPlainText(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QPushButton* print = buttons->addButton(QStringLiteral("&Print..."), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("cmdPrint"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    QObject::connect(print, &QPushButton::clicked, window, [window, report] {
        bwHandler(kModule, "Sub cmdPrint_Click",
                  [&] { bwPrintReportWithDialog(window, window->windowTitle(), report); });
    });
    layout->addWidget(buttons);
    const QFontMetrics metrics(text->font());
    window->resize(metrics.horizontalAdvance(QLatin1Char('M')) * 90, metrics.lineSpacing() * 36);
    return window;
}
} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmAbout>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

frmAbout::~frmAbout() = default;

QString frmAbout::versionText()
{
    BW_TRACE(kModule, "Function versionText");
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QString::fromLatin1(kLockwellVersion) : version;
}

void frmAbout::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        LoadResStrings(this);
        ui->lblVersion->setText(ui->lblVersion->text() + QLatin1Char(' ') + versionText());
        ui->lblDescription->setText(kDescription);
        ui->lblContact->setText(kContact);
        ui->lblDisclaimer->setText(kWarning);

        QFont titleFont = ui->lblTitle->font();
        titleFont.setBold(true);
        titleFont.setPointSizeF(titleFont.pointSizeF() * kTitleScale);
        ui->lblTitle->setFont(titleFont);
        const QIcon icon = QApplication::windowIcon();
        if (!icon.isNull())
            ui->picIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
        else
            ui->picIcon->hide();
        setFixedWidth(qMax(sizeHint().width(), fontMetrics().horizontalAdvance(QLatin1Char('M')) * 36));
    });
}

void frmAbout::cmdOK_Click()
{
    bwHandler(kModule, "Sub cmdOK_Click", [&] { accept(); });
}

void frmAbout::cmdSysInfo_Click()
{
    bwHandler(kModule, "Sub cmdSysInfo_Click", [&] {
        if (!m_systemInfo) {
            const WaitCursor wait; // the process list takes a moment
            m_systemInfo = createSystemInfoWindow(this);
        }
        m_systemInfo->show();
        m_systemInfo->raise();
        m_systemInfo->activateWindow();
    });
}
