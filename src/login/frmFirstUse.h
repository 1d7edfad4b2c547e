#pragma once
// The welcome shown before the very first login: what the user name and master password are for. A
// frameless window shaped as a rounded rectangle over a painted background.
#include <QDialog>
#include <memory>

namespace Ui {
class frmFirstUse;
}

// The welcome text; when Caps Lock is on it ends with a reminder of it.
QString firstUseWelcomeText(bool capsLockOn);

class frmFirstUse : public QDialog
{
    Q_OBJECT

public:
    // Builds the window and loads it (texts, Caps Lock reminder, outline).
    explicit frmFirstUse(QWidget* owner = nullptr);
    ~frmFirstUse() override;

public Q_SLOTS:
    void Form_Load();
    void cmdContinue_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Gives the window its outline: the rounded rectangle from (4, 4) to its width and height, in
    // pixels, with corners 50 × 50 pixels across.
    void pCreateSkin();

    std::unique_ptr<Ui::frmFirstUse> ui;
};
