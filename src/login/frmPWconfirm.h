#pragma once
// The password confirmation of a new user: the master password typed a second time.
//
// The dialog is hidden, not unloaded, when it closes, so a second registration attempt in the same run
// shows it again; the caller clears the box before each showing.
#include <QDialog>
#include <memory>

namespace Ui {
class frmPWconfirm;
}

class frmPWconfirm : public QDialog
{
    Q_OBJECT

public:
    explicit frmPWconfirm(QWidget* owner = nullptr);
    ~frmPWconfirm() override;

    // True when the dialog was closed with OK.
    bool ConfirmOK = false;

    // The confirmation as typed. clearConfirmation() empties the box and gives it the focus for the next
    // showing (the caller does it before each showing).
    QString confirmation() const;
    void clearConfirmation();

    // Escape and the close box answer Cancel.
    void reject() override;

public Q_SLOTS:
    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();

private:
    std::unique_ptr<Ui::frmPWconfirm> ui;
};
