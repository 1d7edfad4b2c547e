#pragma once
// The reporter used until the program installs its own: a message box when a desktop is there to show it.
#include "errortrap/Bulwark.h"

// "An unexpected '" + description + "' error occurred in " + module + " " + procedure
QString bwErrorMessageText(const BwErrorReport& report);

// True when a widget application runs on a platform that shows windows to a person (not offscreen or minimal).
bool bwCanShowDialogs();

// Shows the message box when it can; answers Leave either way.
BwReportAnswer bwDefaultReporter(const BwErrorReport& report);
