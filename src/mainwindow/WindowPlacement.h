#pragma once
// Where the records window opens. It opens where it was last closed, unless that position lies off every
// screen (another monitor set-up, a hand-edited settings file): then it comes back onto the screen
// nearest to it.
#include <QList>
#include <QPoint>
#include <QRect>

namespace WindowPlacement {

// The top-left corner for a window of `size` saved at `saved`, given the screens' available areas. The
// saved corner stays when a grip of the window's top edge (the bar it is dragged by) lies on one of the
// areas. Otherwise the window goes onto the nearest area, as much of it inside as fits, its top-left
// corner first. Without any screen the saved corner stays.
QPoint onScreen(QPoint saved, QSize size, const QList<QRect>& screens);

} // namespace WindowPlacement
