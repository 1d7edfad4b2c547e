#pragma once
// Where a top-level window opens.
class QWidget;

// Centres the window on the primary screen's free area (the part no panel covers). A window placed this
// way keeps the place when it is shown, whatever its owner's position.
void centreOnScreen(QWidget* window);
