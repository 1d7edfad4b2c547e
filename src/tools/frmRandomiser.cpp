#include "tools/frmRandomiser.h"

#include "errortrap/Bulwark.h"
#include "ui_frmRandomiser.h"

#include <QCloseEvent>
#include <QPointer>
#include <algorithm>

namespace {
constexpr const char* kModule = "frmRandomiser.frm";
constexpr int kNumericType = 2;

// The dialog run() keeps loaded between calls during one run of the program.
QPointer<frmRandomiser> g_loaded;
} // namespace

frmRandomiser::frmRandomiser(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmRandomiser>())
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    ui->optType->setId(ui->optType0, 0);
    ui->optType->setId(ui->optType1, 1);
    ui->optType->setId(ui->optType2, 2);
    ui->optCase->setId(ui->optCase0, 0);
    ui->optCase->setId(ui->optCase1, 1);
    ui->optCase->setId(ui->optCase2, 2);

    // The password is easier to read, and to copy by eye, in a fixed-pitch font.
    QFont passwordFont(QStringLiteral("monospace"));
    passwordFont.setStyleHint(QFont::TypeWriter);
    passwordFont.setPointSizeF(font().pointSizeF() * 1.25);
    ui->txtRandom->setFont(passwordFont);
    QFont warningFont = ui->lblWarning->font();
    warningFont.setBold(true);
    ui->lblWarning->setFont(warningFont);
    // The two frames side by side look best at one width.
    const int frameWidth = std::max(ui->fraType->sizeHint().width(), ui->frmCase->sizeHint().width());
    ui->fraType->setMinimumWidth(frameWidth);
    ui->frmCase->setMinimumWidth(frameWidth);

    connect(ui->sldNumChars, &QSlider::valueChanged, this, &frmRandomiser::sldnumChars_Change);
    connect(ui->optType, &QButtonGroup::idClicked, this, &frmRandomiser::optType_Click);
    connect(ui->cmdGen, &QPushButton::clicked, this, &frmRandomiser::cmdGen_Click);
    connect(ui->txtRandom, &QLineEdit::textChanged, this, &frmRandomiser::txtRandom_Change);
    connect(ui->cmdAccept, &QPushButton::clicked, this, &frmRandomiser::cmdAccept_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmRandomiser::cmdCancel_Click);

    Form_Load();
}

frmRandomiser::~frmRandomiser() = default;

bool frmRandomiser::run(QWidget* owner, QString& password)
{
    BW_TRACE(kModule, "Function run");
    if (!g_loaded)
        g_loaded = new frmRandomiser(owner);
    else if (g_loaded->parentWidget() != owner)
        g_loaded->setParent(owner, g_loaded->windowFlags());
    QPointer<frmRandomiser> dialog = g_loaded;

    dialog->PasswordAccepted = false;
    dialog->ui->txtRandom->setText(QString()); // unlike clear(), also drops the undo history

    dialog->m_closedByFrame = false;
    dialog->exec();
    if (!dialog)
        return false;

    const bool accepted = dialog->PasswordAccepted;
    if (accepted)
        password = dialog->ui->txtRandom->text();
    // The hidden dialog need not hold on to the password until the next use.
    dialog->ui->txtRandom->setText(QString());
    if (dialog->m_closedByFrame)
        delete dialog.data();
    return accepted;
}

frmRandomiser* frmRandomiser::loaded()
{
    BW_TRACE(kModule, "Function loaded");
    return g_loaded.data();
}

void frmRandomiser::unload()
{
    BW_TRACE(kModule, "Sub unload");
    delete g_loaded.data();
}

void frmRandomiser::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        ui->txtRandom->clear();
        ui->txtRandom->setMaxLength(ui->sldNumChars->value());
        ui->txtRandom->setFocus(); // takes effect when the dialog is shown
        DisplayNC();
    });
}

void frmRandomiser::DisplayNC()
{
    bwHandler(kModule, "Sub DisplayNC", [&] {
        ui->lblPWC->setText(QStringLiteral(" ") + QString::number(ui->sldNumChars->value()) +
                            QStringLiteral(": Characters"));
    });
}

void frmRandomiser::sldnumChars_Change()
{
    bwHandler(kModule, "Sub sldnumChars_Change", [&] {
        DisplayNC();
        limitTextLength();
    });
}

void frmRandomiser::optType_Click(int index)
{
    bwHandler(kModule, "Sub optType_Click", [&] {
        ui->frmCase->setEnabled(index != kNumericType);
        const bool caseEnabled = ui->frmCase->isEnabled();
        ui->optCase0->setEnabled(caseEnabled);
        ui->optCase1->setEnabled(caseEnabled);
        ui->optCase2->setEnabled(caseEnabled);
    });
}

void frmRandomiser::cmdGen_Click()
{
    bwHandler(kModule, "Sub cmdGen_Click", [&] {
        m_random.reseedFromClock();
        const int length = ui->sldNumChars->value();
        ui->txtRandom->setText(drawPassword(length, selectedType(), selectedCase(), m_random));
    });
}

void frmRandomiser::txtRandom_Change()
{
    bwHandler(kModule, "Sub txtRandom_Change", [&] {
        ui->cmdAccept->setEnabled(!ui->txtRandom->text().isEmpty());
        limitTextLength();
    });
}

void frmRandomiser::cmdAccept_Click()
{
    bwHandler(kModule, "Sub cmdAccept_Click", [&] {
        PasswordAccepted = true;
        hide(); // ends the modal show
    });
}

void frmRandomiser::cmdCancel_Click()
{
    bwHandler(kModule, "Sub cmdCancel_Click", [&] {
        PasswordAccepted = false;
        hide();
    });
}

void frmRandomiser::reject()
{
    BW_TRACE(kModule, "Sub reject");
    cmdCancel_Click();
}

void frmRandomiser::closeEvent(QCloseEvent* event)
{
    bwHandler(kModule, "Sub Form_QueryUnload", [&] {
        m_closedByFrame = true;
        done(QDialog::Rejected);
    });
    event->accept();
}

PasswordType frmRandomiser::selectedType() const
{
    BW_TRACE(kModule, "Function selectedType");
    return static_cast<PasswordType>(std::max(0, ui->optType->checkedId()));
}

LetterCase frmRandomiser::selectedCase() const
{
    BW_TRACE(kModule, "Function selectedCase");
    return static_cast<LetterCase>(std::max(0, ui->optCase->checkedId()));
}

// The slider sets how many characters can be typed; it never cuts a longer text already in the box.
// So the box's limit is the slider value, or the length of its text while that is longer.
void frmRandomiser::limitTextLength()
{
    BW_TRACE(kModule, "Sub limitTextLength");
    QLineEdit* box = ui->txtRandom;
    const int limit = std::max(ui->sldNumChars->value(), static_cast<int>(box->text().length()));
    if (box->maxLength() == limit)
        return;
    const int cursor = box->cursorPosition();
    box->setMaxLength(limit);
    box->setCursorPosition(cursor);
}
