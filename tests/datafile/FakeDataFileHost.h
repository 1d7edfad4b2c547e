#pragma once
// A main window for the data file routines: it owns the data control and writes down every call.
#include "datafile/DataFileHost.h"
#include "storage/DataControl.h"

#include <QStringList>

class FakeDataFileHost : public DataFileHost
{
public:
    DataControl control;
    QStringList calls;
    QString panel1;
    QString panel2;
    bool suspendOnTop = false;

    DataControl& dataControl() override { return control; }
    QWidget* dialogOwner() override { return nullptr; }
    void setStatusPanel(int panel, const QString& text) override
    {
        (panel == 1 ? panel1 : panel2) = text;
        calls << QStringLiteral("panel %1: %2").arg(panel).arg(text);
    }
    void DisplayInfo() override { calls << QStringLiteral("DisplayInfo"); }
    void UpdateTools(bool bImages) override { calls << QStringLiteral("UpdateTools %1").arg(bImages); }
    void removeExtraGridColumns() override { calls << QStringLiteral("removeExtraGridColumns"); }
    void RefreshTextControls() override { calls << QStringLiteral("RefreshTextControls"); }
    void rebindGrid() override { calls << QStringLiteral("rebindGrid"); }
    void focusGrid() override { calls << QStringLiteral("focusGrid"); }
    bool SuspendOnTop() const override { return suspendOnTop; }
    void setSuspendOnTop(bool suspend) override
    {
        suspendOnTop = suspend;
        calls << QStringLiteral("SuspendOnTop %1").arg(suspend);
    }
};
