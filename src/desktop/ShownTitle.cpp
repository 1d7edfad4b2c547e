#include "desktop/ShownTitle.h"

#include "errortrap/Bulwark.h"

#include <QGuiApplication>
#include <QWidget>
#include <X11/Xlib.h>

namespace {
constexpr long kLongestTitle = 4096; // in 32-bit units, as X counts property lengths

QString x11Title(Display* display, unsigned long window)
{
    BW_TRACE("ShownTitle.cpp", "Function x11Title");
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, kLongestTitle, False, utf8, &type, &format, &items, &after,
                           &data) != Success)
        return QString();
    const QString title =
        data && format == 8 ? QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(items)) : QString();
    if (data)
        XFree(data);
    return title;
}
} // namespace

QString shownWindowTitle(QWidget* window)
{
    BW_TRACE("ShownTitle.cpp", "Function shownWindowTitle");
    if (!window)
        return QString();
    const QString given = window->windowTitle();
    const QString fallback = given.isEmpty() ? QCoreApplication::applicationName() : given;
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return fallback;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return fallback;
    const unsigned long id = window->window()->winId();
    const QString shown = x11Title(display, id);
    return shown.isEmpty() ? fallback : shown;
}
