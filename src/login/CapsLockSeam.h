#pragma once
// The Caps Lock state as the login dialogs see it: the keyboard's own state, unless a test has pinned it.
#include <optional>

// True while Caps Lock is toggled on (false where the platform cannot tell).
bool loginCapsLockOn();

namespace CapsLockSeam {
// Pins the state loginCapsLockOn() answers; an empty value goes back to the keyboard.
void pin(std::optional<bool> on);
} // namespace CapsLockSeam
