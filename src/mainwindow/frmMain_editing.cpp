// Editing records: add, delete, typing in the record boxes, Enter moving on, and UpdateTools, the one
// place that sets which commands are enabled.
#include "desktop/Keystrokes.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/CommandStates.h"
#include "mainwindow/FilterKeys.h"
#include "mainwindow/MainGlobals.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/frmMain.h"
#include "storage/DataControl.h"
#include "storage/Recordset.h"
#include "ui_frmMain.h"

#include <QAction>
#include <QToolBar>

namespace {
constexpr char kModule[] = "frmMain.frm";
const QString kToolBarPrefix = QStringLiteral("tbToolBar:");

bool hasCurrentRecord(const Recordset& records)
{
    return !records.bof() && !records.eof();
}
} // namespace

void frmMain::showRecordCount(const char* suffix)
{
    BW_TRACE(kModule, "Sub showRecordCount");
    const auto records = recordset();
    setStatusPanel(1, QString::number(records ? records->recordCount() : 0) + QString::fromLatin1(suffix));
}

void frmMain::refreshDataControl()
{
    BW_TRACE(kModule, "Sub refreshDataControl");
    dataControl().refresh();
}

void frmMain::cmdAdd_Click()
{
    bwHandler(kModule, "Sub cmdAdd_Click", [&] {
        if (!isDataFileOpen())
            return;
        // A pending change is written when the record has an account name, and dropped otherwise.
        for (const int pendingMode : {int(Recordset::EditInProgress), int(Recordset::EditAdd)}) {
            const auto records = recordset();
            if (!hasCurrentRecord(*records) || records->editMode() != pendingMode)
                continue;
            if (!ui->txtAccount->text().isEmpty())
                records->update();
            else
                refreshDataControl();
        }
        recordset()->addNew();
        UpdateTools(false);
        if (ui->txtAccount->isEnabled() && ui->txtAccount->isVisible())
            ui->txtAccount->setFocus();
        showRecordCount(" Accounts stored.");
        DisplayInfo();
    });
}

void frmMain::cmdClear_Click()
{
    bwHandler(kModule, "Sub cmdClear_Click", [&] {
        if (!isDataFileOpen())
            return;
        auto records = recordset();
        if (!hasCurrentRecord(*records)) {
            DisplayInfo();
            return;
        }
        if (records->editMode() == Recordset::EditAdd) {
            // A new record that was never written is abandoned, not deleted.
            records->cancelUpdate();
            refreshDataControl();
            if (SortDirection > 0) {
                const QString field = AccountGridModel::dataField(SortColumn);
                recordset()->setSort(SortDirection != 1 ? field + QStringLiteral(" DESC") : field);
            }
            showRecordCount(" Accounts stored.");
            DisplayInfo();
            return;
        }
        if (records->recordCount() > 0) {
            records->deleteRecord();
            // The record that took the deleted one's place becomes current, or the last one when the
            // deleted record was the last.
            records->moveNext();
            if (records->eof() && records->recordCount() > 0)
                records->moveLast();
        }
        DisplayInfo();
        showRecordCount(" Accounts stored.");
        UpdateTools(false);
    });
}

void frmMain::recordBoxChanged()
{
    BW_TRACE(kModule, "Sub recordBoxChanged");
    if (!Locked)
        InitTimer();
}

// clang-format off
void frmMain::txtAccount_Change() { bwHandler(kModule, "Sub txtAccount_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtURL_Change() { bwHandler(kModule, "Sub txtURL_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtID_Change() { bwHandler(kModule, "Sub txtID_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtPW_Change() { bwHandler(kModule, "Sub txtPW_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtHint_Change() { bwHandler(kModule, "Sub txtHint_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtINFO_Change() { bwHandler(kModule, "Sub txtINFO_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey1Label_Change() { bwHandler(kModule, "Sub txtKey1Label_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey2Label_Change() { bwHandler(kModule, "Sub txtKey2Label_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey3Label_Change() { bwHandler(kModule, "Sub txtKey3Label_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey4Label_Change() { bwHandler(kModule, "Sub txtKey4Label_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey1_Change() { bwHandler(kModule, "Sub txtKey1_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey2_Change() { bwHandler(kModule, "Sub txtKey2_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey3_Change() { bwHandler(kModule, "Sub txtKey3_Change", [&] { recordBoxChanged(); }); }
void frmMain::txtKey4_Change() { bwHandler(kModule, "Sub txtKey4_Change", [&] { recordBoxChanged(); }); }

void frmMain::txtAccount_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtAccount, "Sub txtAccount_KeyPress"); }
void frmMain::txtURL_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtURL, "Sub txtURL_KeyPress"); }
void frmMain::txtID_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtID, "Sub txtID_KeyPress"); }
void frmMain::txtPW_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtPW, "Sub txtPW_KeyPress"); }
void frmMain::txtHint_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtHint, "Sub txtHint_KeyPress"); }
void frmMain::txtKey1Label_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey1Label, "Sub txtKey1Label_KeyPress"); }
void frmMain::txtKey1_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey1, "Sub txtKey1_KeyPress"); }
void frmMain::txtKey2Label_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey2Label, "Sub txtKey2Label_KeyPress"); }
void frmMain::txtKey2_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey2, "Sub txtKey2_KeyPress"); }
void frmMain::txtKey3Label_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey3Label, "Sub txtKey3Label_KeyPress"); }
void frmMain::txtKey3_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey3, "Sub txtKey3_KeyPress"); }
void frmMain::txtKey4Label_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey4Label, "Sub txtKey4Label_KeyPress"); }
void frmMain::txtKey4_KeyPress(int& KeyAscii) { enterMovesOn(KeyAscii, ui->txtKey4, "Sub txtKey4_KeyPress"); }
// clang-format on

void frmMain::enterMovesOn(int& KeyAscii, QWidget* box, const char* procedure)
{
    bwHandler(kModule, procedure, [&] {
        if (KeyAscii != FilterKeys::kEnter)
            return;
        SendTab(box);
        KeyAscii = 0;
    });
}

QObject* frmMain::control(const QString& name)
{
    BW_TRACE(kModule, "Function control");
    auto it = m_controls.constFind(name);
    if (it != m_controls.constEnd() && it.value())
        return it.value();
    QObject* found = nullptr;
    if (name.startsWith(kToolBarPrefix)) {
        const QString key = name.mid(kToolBarPrefix.size());
        const QList<QAction*> buttons = ui->tbToolBar->actions();
        for (QAction* button : buttons) {
            if (button->property("key").toString() == key)
                found = button;
        }
    } else {
        found = findChild<QObject*>(name);
    }
    m_controls.insert(name, found);
    return found;
}

void frmMain::applySetting(const QString& name, bool enabled)
{
    QObject* target = control(name);
    if (auto* action = qobject_cast<QAction*>(target))
        action->setEnabled(enabled);
    else if (auto* widget = qobject_cast<QWidget*>(target))
        widget->setEnabled(enabled);
}

void frmMain::UpdateTools(bool bImages)
{
    bwHandler(kModule, "Sub UpdateTools", [&] {
        const RecordState state = CommandStates::stateOf(recordset().get());
        for (const auto& setting : CommandStates::recordCommands(state))
            applySetting(setting.control, setting.enabled);
        for (const auto& setting : CommandStates::fileCommands(state))
            applySetting(setting.control, setting.enabled);
        if (bImages) {
            for (const auto& picture : CommandStates::fileButtonPictures(state))
                UpdateImage(qobject_cast<PictureButton*>(control(picture.image)), picture.picture);
        }
        ui->Frame2->setEnabled(CommandStates::recordPanelEnabled(state));
        ui->Frame3->setVisible(CommandStates::filterPanelVisible(state));
        for (const auto& setting : CommandStates::recordBoxes(state))
            applySetting(setting.control, setting.enabled);
    });
}
