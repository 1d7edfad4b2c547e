#pragma once
// What a mouse action on the tray icon means to the program.
//
// The tray reports a mouse action as the number of the mouse message that happened over the icon
// (512 moved, 513-515 left button, 516-518 right button). decodeTrayMessage() turns that number into
// the event frmSysTray raises; Qt's activation reasons are first put into the same numbers, so there
// is one table that decides what a click does.
#include <QSystemTrayIcon>
#include <Qt>

namespace TrayMessage {
constexpr int MouseMove = 512;
constexpr int LeftButtonDown = 513;
constexpr int LeftButtonUp = 514;
constexpr int LeftButtonDoubleClick = 515;
constexpr int RightButtonDown = 516;
constexpr int RightButtonUp = 517;
constexpr int RightButtonDoubleClick = 518;
// No mouse message: an activation the tray has no number for.
constexpr int None = 0;
} // namespace TrayMessage

enum class TrayEvent { None, MouseDown, MouseUp, MouseMove, DoubleClick };

struct TrayNotification
{
    TrayEvent event = TrayEvent::None;
    Qt::MouseButton button = Qt::NoButton; // left or right; none for a move or no event

    bool operator==(const TrayNotification& other) const { return event == other.event && button == other.button; }
};

// The event for a mouse message number. A left click is reported when the button is released and a
// right click when it is pressed; a left press, the middle button and unknown numbers raise nothing.
TrayNotification decodeTrayMessage(int message);

// The mouse message number that stands for one of Qt's activation reasons: a completed left click
// (Trigger) is the left button's release, a context request the right button's press.
// TrayMessage::None for the middle button and anything unknown.
int trayMessageForActivation(QSystemTrayIcon::ActivationReason reason);
