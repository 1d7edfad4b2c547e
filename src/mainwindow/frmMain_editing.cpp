// Editing records: add, delete, typing in the record boxes, Enter moving on, and UpdateTools, the one
// place that sets which commands are enabled.
#include "datafile/RecordWriteNotice.h"
#include "desktop/Keystrokes.h"
#include "errortrap/Bulwark.h"
#include "mainwindow/AccountGridModel.h"
#include "mainwindow/CommandStates.h"
#include "mainwindow/FilterKeys.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/RecordBinder.h"
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
    recordHandler(kModule, "Sub cmdAdd_Click", dataControl(), [&] {
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
    recordHandler(kModule, "Sub cmdClear_Click", dataControl(), [&] {
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
            if (m_sortDirection > 0) {
                const QString field = AccountGridModel::dataField(m_sortColumn);
                recordset()->setSort(m_sortDirection != 1 ? field + QStringLiteral(" DESC") : field);
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
    if (!Locked())
        InitTimer();
}

void frmMain::enterMovesOn(int& KeyAscii, QWidget* box)
{
    const QByteArray procedure = "Sub " + box->objectName().toLatin1() + "_KeyPress";
    bwHandler(kModule, procedure.constData(), [&] {
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
        const bool viewOnly = CommandStates::isViewOnly(recordset().get());
        if (viewOnly) {
            for (const auto& setting : CommandStates::viewOnlyCommands())
                applySetting(setting.control, setting.enabled);
        }
        m_binder->setReadOnly(viewOnly);
    });
}
