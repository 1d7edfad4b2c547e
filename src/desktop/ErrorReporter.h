#pragma once
// Reports run-time errors caught by the error trap in a message box shown through MsgBox(), so the report
// is modal over the active window and tests can answer it like any other box.

// Makes the error trap report through MsgBox(): a critical box with an OK button; the failing procedure is
// left. Replaced by the error report dialog once the program installs that.
void installMessageBoxReporter();
