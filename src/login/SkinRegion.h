#pragma once
// The outline of a skinned window: a rounded rectangle.
#include <QRegion>

// The rounded rectangle from (left, top) to (right, bottom), right and bottom edges excluded, whose
// corners are quarter ellipses cornerWidth × cornerHeight pixels across.
QRegion roundRectRegion(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
