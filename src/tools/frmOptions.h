#pragma once
// The options dialog. The General page edits the records window's run-time options (password peek,
// security time-out, keep on top) and the start-up option auto-load; its buttons apply them for this run
// ("Use"), apply and store them ("&Save") or discard the changes ("Cancel"). The Master page changes the
// master password, and lets the user in only while no data file is open.
//
// The dialog edits the program-wide settings variables and unloads itself; the records window re-applies
// the variables to itself after every closing, whichever way the dialog was closed.
//
// The tab strip's tabs are numbered from 1; tab n shows page pbGeneral(n - 1), whose controls are the
// widgets pbGeneral0 and pbGeneral1. A page out of view is hidden and disabled.
#include <QDialog>
#include <memory>

namespace Ui {
class frmOptions;
}
class QKeyEvent;

class frmOptions : public QDialog
{
    Q_OBJECT

public:
    // Builds the dialog and runs its load step. dataFileOpen: the records window has a data file open,
    // which keeps the Master page shut.
    explicit frmOptions(QWidget* owner = nullptr, bool dataFileOpen = false);
    ~frmOptions() override;

    // The records window's side: loads the dialog, shows it modally centred over `owner`, and unloads
    // it once it is closed. The caller holds SuspendOnTop around it.
    static void run(QWidget* owner, bool dataFileOpen);

    // Page pbGeneral(index): 0 General, 1 Master.
    QWidget* pbGeneral(int index) const;

    // Escape and the close box act as Cancel.
    void reject() override;

public Q_SLOTS:
    void Form_Load();
    void chkPasstime_Click();
    void chkTimeout_Click();
    void chkOnTop_Click();
    void chkAutoLoad_Click();
    void fsbPeek_Change();
    void fsbTimeout_Change();
    void cmdUse_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void tbsOptions_Click();
    void cmdPW_Click();

protected:
    // Every key press inside the dialog reaches Form_KeyDown before the control that has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key was the dialog's own (it then goes no further).
    bool Form_KeyDown(const QKeyEvent& key);
    void markChanged(bool forSessionToo);
    void showGeneralPage();
    void showMasterPage();
    void selectTab(int tab);

    std::unique_ptr<Ui::frmOptions> ui;
    bool m_dataFileOpen;
};
