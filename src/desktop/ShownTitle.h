#pragma once
// The title a window really carries on the desktop, as the window manager shows it in the title bar
// and the task list.
#include <QString>

class QWidget;

// On X11 the window's _NET_WM_NAME (its native window is created if need be); elsewhere the title the
// widget was given, or the application's name when it was given none.
QString shownWindowTitle(QWidget* window);
