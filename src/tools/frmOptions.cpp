#include "tools/frmOptions.h"

#include "app/LoginValues.h"
#include "app/ProgramSettings.h"
#include "app/SettingsStore.h"
#include "app/StringTable.h"
#include "app/TextForms.h"
#include "errortrap/Bulwark.h"
#include "tools/MasterPasswordChange.h"
#include "ui_frmOptions.h"

#include <QKeyEvent>

namespace {
constexpr const char* kModule = "frmOptions.frm";
constexpr int kGeneralPage = 0;
constexpr int kMasterPage = 1;

const QString kWarnOnLoad = QStringLiteral("WARNING! If you change the MASTER password you will still need ") +
                            QStringLiteral(" the old password to access old data files.");
const QString kWarnNoFileOpen = QStringLiteral("WARNING! If you change the MASTER password you will ") +
                                QStringLiteral("still need to use ") +
                                QStringLiteral("the old password to access the old data files.");
const QString kInformFileOpen = QStringLiteral("Please CLOSE the open DataBase before") + QStringLiteral("\r\n") +
                                QStringLiteral("trying to change the password.");
const QString kWarnFileOpen = QStringLiteral("WARNING! An OPEN DataBase was detected.");

QString secondsText(int value)
{
    return QString::number(value) + QStringLiteral(" (secs)");
}

QString minutesText(int value)
{
    return QString::number(value) + QStringLiteral(" (mins)");
}

void storeVerifier(const QString& user, const QString& verifier)
{
    BW_TRACE(kModule, "Sub storeVerifier");
    ProgramSettings::setVerifierOf(user, verifier);
}

// Empties a box together with its undo history, so an earlier password cannot be brought back.
void emptyBox(QLineEdit* box)
{
    box->setText(QString());
}

// A page, or the button frame, out of view still holds its place, so the dialog keeps one size.
void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}
} // namespace

frmOptions::frmOptions(QWidget* owner, bool dataFileOpen)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmOptions>()), m_dataFileOpen(dataFileOpen)
{
    BW_TRACE(kModule, "Sub Form_Initialize");
    ui->setupUi(this);
    ui->tbsOptions->addTab(QStringLiteral("General"));
    ui->tbsOptions->setTabToolTip(0, QStringLiteral("General Options"));
    ui->tbsOptions->addTab(QStringLiteral("Master"));
    ui->tbsOptions->setTabToolTip(1, QStringLiteral("Master Password Control"));
    ui->tbsOptions->setCurrentIndex(0);

    // Room for the longest outcome and warning texts, so the dialog keeps its size whatever they say.
    ui->lblInform->setMinimumHeight(2 * ui->lblInform->fontMetrics().lineSpacing());
    ui->lblWarn->setMinimumHeight(3 * ui->lblWarn->fontMetrics().lineSpacing());
    keepPlaceWhenHidden(ui->pbGeneral0);
    keepPlaceWhenHidden(ui->pbGeneral1);
    keepPlaceWhenHidden(ui->Frame2);
    // The dialog opens on the General tab, the Master page out of view.
    ui->pbGeneral1->setVisible(false);
    ui->pbGeneral1->setEnabled(false);

    connect(ui->chkPasstime, &QCheckBox::toggled, this, &frmOptions::chkPasstime_Click);
    connect(ui->chkTimeout, &QCheckBox::toggled, this, &frmOptions::chkTimeout_Click);
    connect(ui->chkOnTop, &QCheckBox::toggled, this, &frmOptions::chkOnTop_Click);
    connect(ui->chkAutoLoad, &QCheckBox::toggled, this, &frmOptions::chkAutoLoad_Click);
    connect(ui->fsbPeek, &QScrollBar::valueChanged, this, &frmOptions::fsbPeek_Change);
    connect(ui->fsbTimeout, &QScrollBar::valueChanged, this, &frmOptions::fsbTimeout_Change);
    connect(ui->cmdUse, &QPushButton::clicked, this, &frmOptions::cmdUse_Click);
    connect(ui->cmdSave, &QPushButton::clicked, this, &frmOptions::cmdSave_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(ui->tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);
    connect(ui->cmdPW, &QPushButton::clicked, this, &frmOptions::cmdPW_Click);

    installEventFilter(this);
    const QList<QWidget*> controls = findChildren<QWidget*>();
    for (QWidget* control : controls)
        control->installEventFilter(this);

    Form_Load();
}

frmOptions::~frmOptions() = default;

void frmOptions::run(QWidget* owner, bool dataFileOpen)
{
    BW_TRACE(kModule, "Sub run");
    frmOptions dialog(owner, dataFileOpen);
    dialog.exec();
}

QWidget* frmOptions::pbGeneral(int index) const
{
    BW_TRACE(kModule, "Function pbGeneral");
    switch (index) {
    case kGeneralPage:
        return ui->pbGeneral0;
    case kMasterPage:
        return ui->pbGeneral1;
    default:
        throw RuntimeError(9, QStringLiteral("Subscript out of range"));
    }
}

void frmOptions::Form_Load()
{
    bwHandler(kModule, "Sub Form_Load", [&] {
        LoadResStrings(this);
        // A stored value outside a scroll bar's range shows as the nearest end, and its label says so.
        ui->chkPasstime->setChecked(Options.PeekOn);
        ui->fsbPeek->setValue(Options.PeekTime);
        ui->lblPeek->setText(secondsText(ui->fsbPeek->value()));
        ui->chkTimeout->setChecked(Options.TimeoutOn);
        ui->fsbTimeout->setValue(Options.TimeoutTime);
        ui->lblTimeout->setText(minutesText(ui->fsbTimeout->value()));
        ui->chkAutoLoad->setChecked(Options.AutoLoad);
        ui->chkOnTop->setChecked(Options.KeepOnTop);

        ui->lblMaster->setText(QStringLiteral("CURRENT P/W."));
        ui->lblChange->setText(QStringLiteral("NEW P/W?"));
        ui->lblConfirm->setText(QStringLiteral("CONFIRM P/W."));
        ui->lblInform->clear();
        ui->lblWarn->setText(kWarnOnLoad);
        emptyBox(ui->txtMaster);
        emptyBox(ui->txtChange);
        emptyBox(ui->txtConfirm);

        // Filling the controls is not a change by the user.
        ui->cmdUse->setEnabled(false);
        ui->cmdSave->setEnabled(false);
    });
}

void frmOptions::markChanged(bool forSessionToo)
{
    BW_TRACE(kModule, "Sub markChanged");
    if (forSessionToo)
        ui->cmdUse->setEnabled(true);
    ui->cmdSave->setEnabled(true);
}

void frmOptions::chkPasstime_Click()
{
    bwHandler(kModule, "Sub chkPasstime_Click", [&] { markChanged(true); });
}

void frmOptions::chkTimeout_Click()
{
    bwHandler(kModule, "Sub chkTimeout_Click", [&] { markChanged(true); });
}

void frmOptions::chkOnTop_Click()
{
    bwHandler(kModule, "Sub chkOnTop_Click", [&] { markChanged(true); });
}

// Auto-load only matters at the next start, so it can be saved but not used for this run.
void frmOptions::chkAutoLoad_Click()
{
    bwHandler(kModule, "Sub chkAutoLoad_Click", [&] { markChanged(false); });
}

void frmOptions::fsbPeek_Change()
{
    bwHandler(kModule, "Sub fsbPeek_Change", [&] {
        ui->lblPeek->setText(secondsText(ui->fsbPeek->value()));
        markChanged(true);
    });
}

void frmOptions::fsbTimeout_Change()
{
    bwHandler(kModule, "Sub fsbTimeout_Change", [&] {
        ui->lblTimeout->setText(minutesText(ui->fsbTimeout->value()));
        markChanged(true);
    });
}

void frmOptions::cmdUse_Click()
{
    bwHandler(kModule, "Sub cmdUse_Click", [&] {
        Options.PeekOn = ui->chkPasstime->isChecked();
        Options.PeekTime = static_cast<qint16>(ui->fsbPeek->value());
        Options.TimeoutOn = ui->chkTimeout->isChecked();
        Options.TimeoutTime = static_cast<qint16>(ui->fsbTimeout->value());
        Options.KeepOnTop = ui->chkOnTop->isChecked();
        done(QDialog::Accepted);
    });
}

// Each option is written, then its variable set: should a write fail, the variables still say what the
// store holds for every option before it.
void frmOptions::cmdSave_Click()
{
    bwHandler(kModule, "Sub cmdSave_Click", [&] {
        const QString section = ProgramSettings::userSettingsSection(LoginValues::userName());
        const auto saveBoolean = [&section](const char* key, bool value, bool& variable) {
            SettingsStore::write(section, QString::fromLatin1(key), TextForms::fromBoolean(value));
            variable = value;
        };
        const auto saveInteger = [&section](const char* key, int value, qint16& variable) {
            SettingsStore::write(section, QString::fromLatin1(key), TextForms::fromInteger(static_cast<qint16>(value)));
            variable = static_cast<qint16>(value);
        };
        saveBoolean("PeekOn", ui->chkPasstime->isChecked(), Options.PeekOn);
        saveInteger("PeekTime", ui->fsbPeek->value(), Options.PeekTime);
        saveBoolean("TimeoutOn", ui->chkTimeout->isChecked(), Options.TimeoutOn);
        saveInteger("TimeoutTime", ui->fsbTimeout->value(), Options.TimeoutTime);
        saveBoolean("AutoLoad", ui->chkAutoLoad->isChecked(), Options.AutoLoad);
        saveBoolean("KeepOnTop", ui->chkOnTop->isChecked(), Options.KeepOnTop);
        done(QDialog::Accepted);
    });
}

void frmOptions::cmdCancel_Click()
{
    bwHandler(kModule, "Sub cmdCancel_Click", [&] { done(QDialog::Rejected); });
}

void frmOptions::reject()
{
    BW_TRACE(kModule, "Sub reject");
    cmdCancel_Click();
}

void frmOptions::tbsOptions_Click()
{
    bwHandler(kModule, "Sub tbsOptions_Click", [&] {
        const int selected = ui->tbsOptions->currentIndex() + 1; // tabs count from 1
        for (int i = 0; i < ui->tbsOptions->count(); ++i) {
            const bool inView = (i == selected - 1);
            pbGeneral(i)->setVisible(inView);
            pbGeneral(i)->setEnabled(inView);
        }
        if (selected - 1 == kGeneralPage)
            showGeneralPage();
        else if (selected - 1 == kMasterPage)
            showMasterPage();
    });
}

// Coming back from the Master page enables all three buttons, changed or not.
void frmOptions::showGeneralPage()
{
    BW_TRACE(kModule, "Sub showGeneralPage");
    ui->Frame2->setVisible(true);
    ui->cmdCancel->setEnabled(true);
    ui->cmdSave->setEnabled(true);
    ui->cmdUse->setEnabled(true);
}

// The master password can be changed only while no data file is open: an open file's password is made
// from the master password it was opened under.
void frmOptions::showMasterPage()
{
    BW_TRACE(kModule, "Sub showMasterPage");
    ui->Frame2->setVisible(false);
    emptyBox(ui->txtMaster);
    emptyBox(ui->txtChange);
    emptyBox(ui->txtConfirm);
    const bool allowed = !m_dataFileOpen;
    if (allowed) {
        ui->lblInform->clear();
        ui->lblWarn->setText(kWarnNoFileOpen);
    } else {
        ui->lblInform->setText(kInformFileOpen);
        ui->lblWarn->setText(kWarnFileOpen);
    }
    for (QWidget* control :
         {static_cast<QWidget*>(ui->txtMaster), static_cast<QWidget*>(ui->txtChange),
          static_cast<QWidget*>(ui->txtConfirm), static_cast<QWidget*>(ui->cmdPW), static_cast<QWidget*>(ui->cmdCancel),
          static_cast<QWidget*>(ui->cmdSave), static_cast<QWidget*>(ui->cmdUse)})
        control->setEnabled(allowed);
}

void frmOptions::selectTab(int tab)
{
    BW_TRACE(kModule, "Sub selectTab");
    ui->tbsOptions->setCurrentIndex(tab - 1); // runs tbsOptions_Click
}

// Not traced: the filter sees every event of every control; the key handler it passes presses to is.
bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && Form_KeyDown(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

// Ctrl+Tab selects the next tab and Ctrl+Shift+Tab the previous one, both wrapping round. Only Shift and
// Ctrl count: Ctrl+Alt+Tab is Ctrl+Tab.
bool frmOptions::Form_KeyDown(const QKeyEvent& key)
{
    bool handled = false;
    bwHandler(kModule, "Sub Form_KeyDown", [&] {
        if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab)
            return;
        const Qt::KeyboardModifiers modifiers = key.modifiers();
        if (!(modifiers & Qt::ControlModifier))
            return;
        // Shift+Tab arrives as Backtab on most keyboards.
        const bool backwards = (modifiers & Qt::ShiftModifier) || key.key() == Qt::Key_Backtab;
        const int tabs = ui->tbsOptions->count();
        const int tab = ui->tbsOptions->currentIndex() + 1;
        if (backwards)
            selectTab(tab == 1 ? tabs : tab - 1);
        else
            selectTab(tab == tabs ? 1 : tab + 1);
        handled = true;
    });
    return handled;
}

void frmOptions::cmdPW_Click()
{
    bwHandler(kModule, "Sub cmdPW_Click", [&] {
        ui->lblInform->clear();
        const MasterPasswordChange::Result result =
            MasterPasswordChange(storeVerifier)
                .apply(ui->txtMaster->text(), ui->txtChange->text(), ui->txtConfirm->text());
        ui->lblInform->setText(result.inform);
        if (result.clearConfirm)
            emptyBox(ui->txtConfirm);
        QLineEdit* retype = nullptr;
        switch (result.selectAll) {
        case MasterPasswordChange::Field::Master:
            retype = ui->txtMaster;
            break;
        case MasterPasswordChange::Field::Change:
            retype = ui->txtChange;
            break;
        case MasterPasswordChange::Field::Confirm:
            retype = ui->txtConfirm;
            break;
        case MasterPasswordChange::Field::None:
            break;
        }
        if (retype) {
            retype->setFocus();
            retype->selectAll();
        }
    });
}
