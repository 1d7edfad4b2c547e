#pragma once
// The program's event loop once the records window has loaded.
#include <functional>

class QWidget;

// Runs the event loop until `window` has been through its own close path (`closedForGood` answers
// whether it has; it is asked after each close event the window receives) and returns the loop's
// result. Closing any other window never ends the loop: not even while `window` is hidden in the tray
// and the other one was the last window shown, so the program always ends through the window's
// shut-down (compaction, settings).
int runUntilClosed(QWidget& window, std::function<bool()> closedForGood);
