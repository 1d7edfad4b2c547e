#include "desktop/Keystrokes.h"

#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {
int g_tabsSent = 0;
}

void SendTab(QWidget* from)
{
    BW_TRACE("Keystrokes.cpp", "Sub SendTab");
    ++g_tabsSent;
    QWidget* window = from ? from->window() : QApplication::activeWindow();
    if (!window)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(window, &release);
}

namespace KeystrokeSeam {
int tabsSent()
{
    BW_TRACE("Keystrokes.cpp", "Function tabsSent");
    return g_tabsSent;
}

void clear()
{
    BW_TRACE("Keystrokes.cpp", "Sub clear");
    g_tabsSent = 0;
}
} // namespace KeystrokeSeam
