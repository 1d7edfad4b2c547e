#include "mainwindow/OnTopKeeper.h"

#include "app/ProgramSettings.h"
#include "errortrap/Bulwark.h"

#include <QWidget>
#include <QWindow>

namespace {
constexpr char kModule[] = "OnTopKeeper.cpp";
constexpr int kFirstLook = 1000;
constexpr int kNextLook = 2000;
constexpr int kLookAfterFocusLost = 5000;
} // namespace

OnTopKeeper::OnTopKeeper(QWidget* window) : QObject(window), m_window(window)
{
    m_timer.setObjectName(QStringLiteral("timOnTop"));
}

void OnTopKeeper::start()
{
    BW_TRACE(kModule, "Sub start");
    m_timer.start(kFirstLook);
}

void OnTopKeeper::look()
{
    BW_TRACE(kModule, "Sub look");
    m_timer.stop();
    setTopmost(m_window, Options.KeepOnTop && !m_suspended);
    m_timer.start(kNextLook);
}

void OnTopKeeper::lookLater()
{
    BW_TRACE(kModule, "Sub lookLater");
    m_timer.stop();
    m_timer.start(kLookAfterFocusLost);
}

void OnTopKeeper::makeNormal(QWidget* window)
{
    BW_TRACE(kModule, "Sub makeNormal");
    setTopmost(window, false);
}

void OnTopKeeper::setTopmost(QWidget* window, bool topmost)
{
    BW_TRACE(kModule, "Sub setTopmost");
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (QWindow* native = window->windowHandle()) {
        // Changing the flags through the widget would hide and re-create the native window; the
        // platform window takes the new layer in place, where it is, at its size.
        window->overrideWindowFlags(flags);
        native->setFlags(flags);
        return;
    }
    window->setWindowFlags(flags);
}
