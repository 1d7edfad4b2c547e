#pragma once
// Hands each key pressed in a control to the control's KeyPress handler as a character code
// (FilterKeys::keyAscii); a handler that sets the code to 0 takes the key away. A key that types nothing
// (an arrow, a bare Shift) goes to the control untouched. The route belongs to the control.
#include <QObject>
#include <functional>

class QWidget;

class KeyPressRoute : public QObject
{
public:
    using Handler = std::function<void(int& KeyAscii)>;

    KeyPressRoute(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
