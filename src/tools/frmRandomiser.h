#pragma once
// The password generator dialog: draws a random password of 4 to 16 characters of a chosen type and
// letter case, lets the user look at it and edit it, and hands it back with a yes/no answer.
#include "crypto/PasswordGenerator.h"

#include <QDialog>
#include <memory>

namespace Ui {
class frmRandomiser;
}

class frmRandomiser : public QDialog
{
    Q_OBJECT

public:
    // Builds the dialog with its designer values and runs the load step.
    explicit frmRandomiser(QWidget* owner = nullptr);
    ~frmRandomiser() override;

    // The records window's side: clears the accepted flag and the text box (loading the dialog on first
    // use), shows it modally over `owner`, and on Accept puts the box's text into `password` and returns
    // true. Cancel, Escape or closing by the frame return false and leave `password` alone.
    // The hidden dialog keeps its length, type and case for the next call; closing it by the frame unloads
    // it, so the next call starts from the designer values again.
    // The caller keeps SuspendOnTop set for the time of this call.
    static bool run(QWidget* owner, QString& password);
    // The dialog run() has loaded, or null when none is loaded.
    static frmRandomiser* loaded();
    // Destroys the loaded dialog, if any (at shut-down).
    static void unload();

    // True when the user pressed Accept. The caller sets it false before showing the dialog.
    bool PasswordAccepted = false;

    // Escape acts as Cancel.
    void reject() override;

public Q_SLOTS:
    void Form_Load();
    void DisplayNC();
    void sldnumChars_Change();
    void optType_Click(int index);
    void cmdGen_Click();
    void txtRandom_Change();
    void cmdAccept_Click();
    void cmdCancel_Click();

protected:
    // Closing by the frame counts as Cancel without touching the flag, and marks the dialog for unloading.
    void closeEvent(QCloseEvent* event) override;

private:
    PasswordType selectedType() const;
    LetterCase selectedCase() const;
    void limitTextLength();

    std::unique_ptr<Ui::frmRandomiser> ui;
    SystemUniformSource m_random;
    bool m_closedByFrame = false;
};
