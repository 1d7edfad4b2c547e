#pragma once
// The About box: the program's name, version, a short description, whom to contact and a warning about the
// master password, with a button that opens the local system information report.
#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class frmAbout;
}
class QPlainTextEdit;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner = nullptr);
    ~frmAbout() override;

    // The program's version as the build gave it.
    static QString versionText();

    // The system information window, once cmdSysInfo has opened it; null before.
    QDialog* systemInfoWindow() const { return m_systemInfo; }

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    std::unique_ptr<Ui::frmAbout> ui;
    QPointer<QDialog> m_systemInfo;
};
