#pragma once
// The information window after a new data file was created. Its check box keeps it away in later runs
// (ShowNew, saved at exit).
#include <QDialog>
#include <memory>

namespace Ui {
class frmNewFile;
}

class frmNewFile : public QDialog
{
    Q_OBJECT

public:
    explicit frmNewFile(QWidget* owner = nullptr);
    ~frmNewFile() override;

    // The information as the box shows it (lines broken at LF).
    QString informationText() const;
    bool isCheckBoxTicked() const;

public Q_SLOTS:
    void Check1_Click();
    void OKButton_Click();

private:
    std::unique_ptr<Ui::frmNewFile> ui;
};
