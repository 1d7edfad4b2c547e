#pragma once
// The reporter used until the program installs its own: the error's message on standard error. The error
// trap needs no window system; a program with windows installs a reporter that shows them.
#include "errortrap/Bulwark.h"

// "An unexpected '" + description + "' error occurred in " + module + " " + procedure
QString bwErrorMessageText(const BwErrorReport& report);

// Writes the catalogue's title and the message to standard error; answers Leave.
BwReportAnswer bwDefaultReporter(const BwErrorReport& report);
