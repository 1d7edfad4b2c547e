#pragma once
// Where a top-level window opens: centred on the screen, or where it was last closed as long as it can
// still be reached there.
#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace WindowPlacement {

// Centres the window on the primary screen's free area (the part no panel covers). A window placed this
// way keeps the place when it is shown, whatever its owner's position.
void centreOnScreen(QWidget* window);

// The top-left corner for a window of `size` saved at `saved`, given the screens' available areas. The
// saved corner stays when a grip of the window's top edge (the bar it is dragged by) lies on one of the
// areas. Otherwise the window goes onto the nearest area (a saved position off every screen comes from
// another monitor set-up or a hand-edited settings file), as much of it inside as fits, its top-left
// corner first. Without any screen the saved corner stays.
QPoint onScreen(QPoint saved, QSize size, const QList<QRect>& screens);

} // namespace WindowPlacement
