#pragma once
// SuspendOnTop: a window that is kept above the others is held back while one of its modal dialogs is
// up, so that the dialog is never covered by its own owner.
//
// Every modal dialog of the records window is shown inside a SuspendOnTopScope:
//
//     {
//         const SuspendOnTopScope suspended(window);
//         dialog.exec();
//     }
//
// The scope gives back what SuspendOnTop was before it, so a dialog opened from another dialog, or
// while the window is hidden in the tray, leaves the flag as it found it.

// What holds SuspendOnTop: the records window (and stand-ins for it in tests).
class SuspendableOnTop
{
public:
    virtual bool SuspendOnTop() const = 0;
    virtual void setSuspendOnTop(bool suspend) = 0;

protected:
    ~SuspendableOnTop() = default;
};

class SuspendOnTopScope
{
public:
    explicit SuspendOnTopScope(SuspendableOnTop& window) : m_window(window), m_before(window.SuspendOnTop())
    {
        m_window.setSuspendOnTop(true);
    }
    ~SuspendOnTopScope() { m_window.setSuspendOnTop(m_before); }
    SuspendOnTopScope(const SuspendOnTopScope&) = delete;
    SuspendOnTopScope& operator=(const SuspendOnTopScope&) = delete;

private:
    SuspendableOnTop& m_window;
    bool m_before;
};
