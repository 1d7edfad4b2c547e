#pragma once
// The error report dialog: the error, the call chain at the moment of the error and the local system
// information, with a box for the user's note on what he was doing. The user closes it with Continue (code 0)
// or More (code 5); the close box and Escape count as Continue. The note is kept either way.
#include "errortrap/Bulwark.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class frmBULWARK;
}

class frmBULWARK : public QDialog
{
    Q_OBJECT

public:
    // The action codes the dialog hands back.
    static constexpr int kContinue = 0;
    static constexpr int kMore = 5;
    // The views of the lower part, in the order of Combo1's entries.
    enum View { NoteView = 0, ErrorSourceView = 1, TraceView = 2, SystemView = 3 };

    explicit frmBULWARK(QWidget* owner = nullptr);
    ~frmBULWARK() override;

    // Fills the dialog with an error. The system report is the one of this moment unless given.
    void fill(const BwErrorReport& report);
    void fill(const BwErrorReport& report, const QString& systemReport);

    // Fills the dialog, shows it modally, centred on the screen, and returns once the user closed it.
    struct Result
    {
        int actionCode = kContinue;
        QString note;
    };
    static Result run(const BwErrorReport& report, QWidget* owner = nullptr);

    // The code of the button that closed the dialog.
    int ActionCode = kContinue;
    // What the user typed in the note, whichever view is shown now.
    QString UserNote() const;
    // The text of a view, as Text1 shows it and as it is printed (the note view prints the error information
    // followed by the note).
    QString viewText(int view) const;

    // What nsHelp runs: the program's help for an error. Without one the button is disabled.
    using HelpHook = std::function<void(QWidget* owner, const BwErrorReport& report)>;
    static void setHelpHook(HelpHook hook);

    // Escape and the close box act as Continue.
    void reject() override;

public Q_SLOTS:
    void Form_Load();
    void Combo1_Click(int index);
    void nsCtrlContinue_Click();
    void nsCtrlMore_Click();
    void nsHelp_Click();
    void bwPrint_Click();
    void cmdWWW_Click();

private:
    void centreOnScreen();
    void finish(int code);

    std::unique_ptr<Ui::frmBULWARK> ui;
    BwErrorReport m_report;
    QString m_systemReport;
    QString m_note;
    int m_shownView = NoteView;
};
