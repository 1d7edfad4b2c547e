#include "desktop/WindowPlacement.h"

#include "errortrap/Bulwark.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window)
{
    BW_TRACE("basWindowPlacement.bas", "Sub centreOnScreen");
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
