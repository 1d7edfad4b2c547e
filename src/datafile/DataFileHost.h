#pragma once
// What the data file routines and commands need from the main window. frmMain implements it; tests use
// a fake. The commands hold the window's SuspendOnTop (SuspendableOnTop) while their dialogs are up.
#include "desktop/SuspendOnTop.h"

#include <QString>

class DataControl;
class QWidget;

class DataFileHost : public SuspendableOnTop
{
public:
    virtual ~DataFileHost() = default;

    // The window's data control Adodc1.
    virtual DataControl& dataControl() = 0;
    // The owner of the window's dialogs.
    virtual QWidget* dialogOwner() = 0;

    // Status bar panel 1 or 2.
    virtual void setStatusPanel(int panel, const QString& text) = 0;
    // Shows or hides the information box for the record set's state.
    virtual void DisplayInfo() = 0;
    // Enables the commands for the record set's state; bImages also changes the toolbar pictures.
    virtual void UpdateTools(bool bImages) = 0;
    // Removes every grid column whose data field is neither "Account" nor "URL".
    virtual void removeExtraGridColumns() = 0;
    // Empties the record boxes once no data file is open.
    virtual void RefreshTextControls() = 0;
    // Detaches the grid from the data control, attaches it again and redraws it.
    virtual void rebindGrid() = 0;
    // Gives the keyboard focus to the grid, where a typed letter jumps to an account (after a file opened).
    virtual void focusGrid() = 0;
};
