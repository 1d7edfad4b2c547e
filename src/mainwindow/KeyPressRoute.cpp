#include "mainwindow/KeyPressRoute.h"

#include "mainwindow/FilterKeys.h"

#include <QKeyEvent>
#include <QWidget>

KeyPressRoute::KeyPressRoute(QWidget* control, Handler handler) : QObject(control), m_handler(std::move(handler))
{
    control->installEventFilter(this);
}

// Not traced: the filter sees every event of the control; the handlers it passes key presses to are.
bool KeyPressRoute::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    int keyAscii = FilterKeys::keyAscii(*static_cast<QKeyEvent*>(event));
    if (keyAscii == 0)
        return false;
    m_handler(keyAscii);
    return keyAscii == 0;
}
