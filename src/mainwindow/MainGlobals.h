#pragma once
// Program-wide state of the records window that other windows read or set.
#include <QtGlobal>

// True while a modal dialog of the main window is up or the window is hidden in the tray: the
// stay-on-top timer then leaves the window alone.
extern bool SuspendOnTop;

// The grid column last sorted by a header click (0 Account, 1 URL) and its direction: 0 none,
// 1 ascending, 2 descending. Read by the delete command to sort again after a refresh.
extern qint16 SortColumn;
extern qint16 SortDirection;
