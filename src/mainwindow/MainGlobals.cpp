#include "mainwindow/MainGlobals.h"

bool SuspendOnTop = false;
qint16 SortColumn = 0;
qint16 SortDirection = 0;
