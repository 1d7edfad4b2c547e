#include "desktop/CapsLockFromTyping.h"

#include "errortrap/Bulwark.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {
std::optional<bool> g_state;

// Sees the box's key presses before the box does, and lets every one through.
class TypingObserver : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            CapsLockFromTyping::observe(*static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

namespace CapsLockFromTyping {

void observe(const QKeyEvent& press)
{
    BW_TRACE("CapsLockFromTyping.cpp", "Sub observe");
    if (press.key() == Qt::Key_CapsLock) {
        if (g_state)
            g_state = !*g_state;
        return;
    }
    const QString text = press.text();
    if (text.size() != 1)
        return;
    const QChar typed = text.at(0);
    if (typed.toUpper() == typed.toLower())
        return; // no case: nothing to learn
    const bool shift = press.modifiers().testFlag(Qt::ShiftModifier);
    g_state = typed.isUpper() != shift;
}

std::optional<bool> state()
{
    BW_TRACE("CapsLockFromTyping.cpp", "Function state");
    return g_state;
}

void forget()
{
    BW_TRACE("CapsLockFromTyping.cpp", "Sub forget");
    g_state.reset();
}

void watch(QWidget* box)
{
    BW_TRACE("CapsLockFromTyping.cpp", "Sub watch");
    if (box)
        box->installEventFilter(new TypingObserver(box));
}

} // namespace CapsLockFromTyping
