#pragma once
// The password dialog of Open With Password: the password another user's data file was made with.
// The dialog hides when it is done; the caller reads the accept flag and the typed password.
#include "crypto/SecretText.h"

#include <QDialog>
#include <memory>

namespace Ui {
class frmImport;
}

class frmImport : public QDialog
{
    Q_OBJECT

public:
    explicit frmImport(QWidget* owner = nullptr);
    ~frmImport() override;

    // True when the dialog was closed with OK and a password of 4 or more characters.
    bool Accepted = false;

    // The password as typed (shown in clear, at most 16 characters). The box keeps its own copy until the
    // dialog goes.
    SecretText password() const;
    void setPassword(const QString& text);

    // Escape and the close box answer Cancel.
    void reject() override;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmImport> ui;
};
