#include "desktop/WindowPlacement.h"

#include "errortrap/Bulwark.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace {

constexpr char kModule[] = "WindowPlacement.cpp";

// How much of the top edge must lie on a screen for the window to be reachable: enough to grab and drag.
constexpr int kGripWidth = 48;
constexpr int kGripHeight = 24;

// Far beyond any desktop, yet far from overflowing the arithmetic of rectangles.
constexpr int kFarthest = 1000000;

bool gripOn(const QRect& frame, const QRect& screen)
{
    const QRect topEdge(frame.topLeft(), QSize(frame.width(), std::min(frame.height(), kGripHeight)));
    const QRect onScreen = topEdge.intersected(screen);
    return onScreen.width() >= std::min(frame.width(), kGripWidth) && onScreen.height() >= topEdge.height();
}

// The square of the gap between two rectangles; 0 when they overlap.
qint64 gapSquared(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// The corner that puts a span of `length` inside [start, start + room), its start first.
int fitted(int corner, int length, int start, int room)
{
    return std::max(start, std::min(corner, start + room - length));
}
} // namespace

QPoint WindowPlacement::onScreen(QPoint saved, QSize size, const QList<QRect>& screens)
{
    BW_TRACE(kModule, "Function onScreen");
    saved = QPoint(std::clamp(saved.x(), -kFarthest, kFarthest), std::clamp(saved.y(), -kFarthest, kFarthest));
    const QRect frame(saved, size);
    const QRect* nearest = nullptr;
    qint64 nearestGap = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        if (gripOn(frame, screen))
            return saved;
        const qint64 gap = gapSquared(frame, screen);
        if (gap < nearestGap) {
            nearestGap = gap;
            nearest = &screen;
        }
    }
    if (!nearest)
        return saved;
    return QPoint(fitted(saved.x(), size.width(), nearest->x(), nearest->width()),
                  fitted(saved.y(), size.height(), nearest->y(), nearest->height()));
}

void WindowPlacement::centreOnScreen(QWidget* window)
{
    BW_TRACE(kModule, "Sub centreOnScreen");
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
