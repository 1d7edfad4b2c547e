#pragma once
// Caps Lock where the keyboard cannot be asked (Wayland, any platform but X11): told by the letters the
// user types. A letter that arrives in upper case without Shift, or in lower case with it, means Caps
// Lock is on; one that arrives in the case Shift asks for means it is off. Digits, signs and letters
// without case tell nothing. A press of Caps Lock itself turns a known state round.
#include <QObject>
#include <optional>

class QKeyEvent;
class QWidget;

namespace CapsLockFromTyping {
// Learns from one key press.
void observe(const QKeyEvent& press);
// What the typing so far tells: empty until a letter with case has been typed.
std::optional<bool> state();
// Forgets what was learnt.
void forget();
// Learns from every key pressed in `box` (a password box) from now on, for as long as the box lives.
void watch(QWidget* box);
} // namespace CapsLockFromTyping
