#pragma once
// Sending keystrokes to the program's own windows.
class QWidget;

// Moves the keyboard focus of from's window to the next control in its tab order, as one press of the Tab
// key does. The keystroke goes to the window, so a multi-line box that would take a Tab as text does not
// keep the focus. With from null, the active window gets the keystroke.
void SendTab(QWidget* from);

namespace KeystrokeSeam {
// How many Tab keystrokes were sent since the last clear().
int tabsSent();
void clear();
} // namespace KeystrokeSeam
