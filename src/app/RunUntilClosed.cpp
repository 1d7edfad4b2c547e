#include "app/RunUntilClosed.h"

#include "errortrap/Bulwark.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Sees the window's close events; once one has gone through (the close is accepted or refused by the
// window itself), ends the loop if the window is closed for good. A close that asks the user something
// runs a dialog's loop inside it, where the first look comes too early: the window's hiding, when the close
// has gone through, looks again.
class CloseWatch : public QObject
{
public:
    explicit CloseWatch(std::function<bool()> closedForGood) : m_closedForGood(std::move(closedForGood)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close || event->type() == QEvent::Hide) {
            QTimer::singleShot(0, this, [this] {
                if (m_closedForGood())
                    QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> m_closedForGood;
};
} // namespace

int runUntilClosed(QWidget& window, std::function<bool()> closedForGood)
{
    BW_TRACE("RunUntilClosed.cpp", "Function runUntilClosed");
    QApplication::setQuitOnLastWindowClosed(false);
    if (closedForGood())
        return 0;
    CloseWatch watch(std::move(closedForGood));
    window.installEventFilter(&watch);
    const int result = QApplication::exec();
    window.removeEventFilter(&watch);
    return result;
}
