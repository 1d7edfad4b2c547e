#include "datafile/frmNewFile.h"

#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"
#include "ui_frmNewFile.h"

namespace {
constexpr char kModule[] = "frmNewFile.frm";
}

frmNewFile::frmNewFile(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::frmNewFile>())
{
    BW_TRACE(kModule, "Sub Form_Load");
    ui->setupUi(this);
    // The text's line breaks are CR LF; the box breaks lines at LF.
    const QString text = QStringLiteral("INFORMATION\r\n\r\nA new Data File has been created and it\r\nis ready for "
                                        "input.\r\n\r\nClick the ADD NEW button to create\r\nits first password "
                                        "record.");
    ui->Text1->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ui->Check1->setChecked(Options.ShowNew);
    connect(ui->Check1, &QCheckBox::clicked, this, &frmNewFile::Check1_Click);
    connect(ui->OKButton, &QPushButton::clicked, this, &frmNewFile::OKButton_Click);
}

frmNewFile::~frmNewFile() = default;

QString frmNewFile::informationText() const
{
    BW_TRACE(kModule, "Function informationText");
    return ui->Text1->toPlainText();
}

bool frmNewFile::isCheckBoxTicked() const
{
    BW_TRACE(kModule, "Function isCheckBoxTicked");
    return ui->Check1->isChecked();
}

void frmNewFile::Check1_Click()
{
    bwHandler(kModule, "Sub Check1_Click", [&] { Options.ShowNew = ui->Check1->isChecked(); });
}

void frmNewFile::OKButton_Click()
{
    bwHandler(kModule, "Sub OKButton_Click", [&] { done(QDialog::Accepted); });
}
