#pragma once
// Keep on top for the records window. timOnTop looks at the window every two seconds (five after the
// window lost the focus) and puts it into the topmost layer while KeepOnTop is on and SuspendOnTop is
// off, and takes it out otherwise; neither moves nor resizes it. SuspendOnTop is set while a modal dialog
// of the window is up (SuspendOnTopScope) and while the window is hidden in the tray.
#include "desktop/SuspendOnTop.h"

#include <QObject>
#include <QTimer>

class QWidget;

class OnTopKeeper : public QObject, public SuspendableOnTop
{
    Q_OBJECT

public:
    explicit OnTopKeeper(QWidget* window);

    // The first look, one second after the window has loaded.
    void start();
    // timOnTop fired: the window into or out of the topmost layer, and the next look in two seconds.
    void look();
    // The window lost the focus: the next look only after five seconds.
    void lookLater();

    // Takes a window out of the topmost layer at once; the next look may put it back.
    static void makeNormal(QWidget* window);

    bool SuspendOnTop() const override { return m_suspended; }
    void setSuspendOnTop(bool suspend) override { m_suspended = suspend; }

    const QTimer& timOnTop() const { return m_timer; }

private:
    static void setTopmost(QWidget* window, bool topmost);

    QWidget* m_window;
    QTimer m_timer;
    bool m_suspended = false;
};
