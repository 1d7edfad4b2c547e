#include "desktop/TrayMessages.h"

#include "errortrap/Bulwark.h"

namespace {
constexpr const char* kModule = "TrayMessages.cpp";
} // namespace

TrayNotification decodeTrayMessage(int message)
{
    BW_TRACE(kModule, "Function decodeTrayMessage");
    switch (message) {
    case TrayMessage::MouseMove:
        return {TrayEvent::MouseMove, Qt::NoButton};
    case TrayMessage::LeftButtonUp:
        // The left button "goes down" for the program only once it is released.
        return {TrayEvent::MouseDown, Qt::LeftButton};
    case TrayMessage::LeftButtonDoubleClick:
        return {TrayEvent::DoubleClick, Qt::LeftButton};
    case TrayMessage::RightButtonDown:
        return {TrayEvent::MouseDown, Qt::RightButton};
    case TrayMessage::RightButtonUp:
        return {TrayEvent::MouseUp, Qt::RightButton};
    case TrayMessage::RightButtonDoubleClick:
        return {TrayEvent::DoubleClick, Qt::RightButton};
    default:
        return {};
    }
}

int trayMessageForActivation(QSystemTrayIcon::ActivationReason reason)
{
    BW_TRACE(kModule, "Function trayMessageForActivation");
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayMessage::LeftButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return TrayMessage::LeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
        return TrayMessage::RightButtonDown;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayMessage::None;
}
